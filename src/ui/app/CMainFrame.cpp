#include "ui/app/CMainFrame.h"

namespace qm::ui {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quilt Mark-[Untitled-100%]"));
    resize(1024, 720);
}

} // namespace qm::ui

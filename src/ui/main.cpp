#include "ui/app/CMainFrame.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brightloom."));
    QApplication::setApplicationName(QStringLiteral("Quiltmark"));
    qm::ui::CMainFrame frame;
    frame.show();
    return app.exec();
}

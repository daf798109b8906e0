#include "core/project/ProjectCommands.h"
#include "ui/app/AppSettings.h"
#include "ui/app/Artwork.h"
#include "ui/app/Autosave.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/FileCommands.h"
#include "ui/app/WindowSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSplashScreen>
#include <QThread>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brightloom."));
    QApplication::setApplicationName(QStringLiteral("Quiltmark"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));

    QSplashScreen splash(qm::ui::startupPicture());
    splash.show();
    QElapsedTimer shown;
    shown.start();
    app.processEvents();

    // A file named on the command line is taken in the directory the editor
    // was started in.
    const QStringList args = QApplication::arguments();
    const QString file = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();
    qm::ui::CMainFrame frame;

    // Half a second of the picture, then the window.
    while (shown.elapsed() < 500) {
        app.processEvents();
        QThread::msleep(20);
    }
    frame.settings().showAsSaved();
    splash.finish(&frame);
    frame.route(qm::ui::MSG_INIT_MAP, 0, 0);
    // Work an editor that ended without saving left behind comes first.
    frame.autosave().enable(qm::ui::Autosave::standardRoot(),
                            qm::ui::readHistorySettings(*qm::ui::openSettings()).autosaveSeconds);
    frame.autosave().offerRecovery();
    if (!file.isEmpty())
        frame.fileCommands().openFile(file);
    return app.exec();
}

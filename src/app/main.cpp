#include "app/Globals.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    // The application's own name: not the display name, which Qt would add to every caption.
    QApplication::setApplicationName(QStringLiteral("Vellumo"));
    try {
#ifdef Q_OS_WIN
        platform::SetCommandLine(QString::fromWCharArray(GetCommandLineW()));
#else
        QStringList arguments = QCoreApplication::arguments();
        if (!arguments.isEmpty())
            arguments.first() = QCoreApplication::applicationFilePath();
        platform::SetCommandLine(platform::BuildCommandLine(arguments, QDir::currentPath()));
#endif
        TForm1 mainWindow;
        Form1 = &mainWindow;
        TForm2 extractor;
        Form2 = &extractor;
        mainWindow.show();
        QApplication::exec();
        Form2 = nullptr;
    } catch (const platform::Exception &error) {
        platform::ShowException(error);
    }
    return 0;
}

#include "app/Discovery.h"
#include "app/Unit1.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"

namespace {
void failStartUp() {
    platform::MessageBoxA(QStringLiteral("File Not Found! Exiting..."),
                          QStringLiteral("Help Error"));
    platform::ExitProcess(1);
}
} // namespace

QString TForm1::DirectoryPart(const QString &path) {
    return app::DirectoryPart(path);
}

void TForm1::FormCreate() {
    StyleSets = {platform::TFontStyles{}, platform::TFontStyles{true, false},
                 platform::TFontStyles{false, true}, platform::TFontStyles{true, true}};

    const std::optional<app::ProjectLocation> location =
        app::DiscoverProject(platform::GetCommandLineA(), platform::ListDirectory);
    if (!location) {
        failStartUp();
        return;
    }
    ProjectFileName = location->ProjectFileName;
    HelpDir = location->HelpDir;

    const std::optional<QByteArray> bytes = platform::ReadWholeFile(ProjectFileName);
    if (!bytes || bytes->isEmpty()) {
        failStartUp();
        return;
    }
    ProjectText = platform::DecodeText(*bytes);

    ViewerReady = 0;
    CaseSensitive = 0;
    SuppressHistory = 0;
}

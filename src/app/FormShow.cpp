#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "project/Record.h"

#include <QImageReader>

namespace {
// The project's icon, or a null icon when the file holds none that can be read.
QIcon loadIcon(const QString &windowsPath) {
    const QString native = platform::ToNativePath(windowsPath);
    if (native.isEmpty())
        return {};
    QImageReader reader(native);
    if (!reader.canRead())
        return {};
    return QIcon(native);
}
} // namespace

void TForm1::FormShow() {
    LoadHelpProject(ProjectText);
    setWindowTitle(HelpTitle);

    IconFileName = HelpDir + IconFileName;
    QIcon icon;
    if (IconFileName.right(4).toLower() == u".ico")
        icon = loadIcon(IconFileName);
    if (icon.isNull())
        platform::MessageBoxA(QStringLiteral("Application Icon File not found"),
                              QStringLiteral("Icon Error!"));
    else
        setWindowIcon(icon);

    // A project without contents records has no home topic: nothing to request.
    QString homeUrl;
    if (ListBox2->count() > 0) {
        homeUrl = MakeTopicURL(HelpDir + project::TopicTarget(ListBox2->item(0)->text()));
        if (navigation::PassesLengthRule(homeUrl, navigation::LengthRule::AtLeast14))
            HTML1->RequestDoc(homeUrl);
    }
    ViewerReady = 1;
    PageURL = homeUrl;
    Form2->ShowModal();
}

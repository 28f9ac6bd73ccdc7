#include "support/TestSupport.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Process.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

namespace testing_support {

MessageRecorder::MessageRecorder() {
    platform::SetMessageBoxHandler([this](const QString &text, const QString &caption) {
        Messages.emplace_back(text, caption);
    });
}

MessageRecorder::~MessageRecorder() {
    platform::SetMessageBoxHandler({});
}

QStringList MessageRecorder::Texts() const {
    QStringList texts;
    for (const auto &message : Messages)
        texts << message.first;
    return texts;
}

void WhileBoxIsUp(const QString &text, std::function<void(QMessageBox *)> act) {
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, text, act, tries = 0]() mutable {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (!box || !box->isVisible() || box->text() != text)
                continue;
            poll->deleteLater();
            poll->stop();
            act(box);
            return;
        }
        if (++tries == 1000)
            poll->deleteLater(); // never shown: the test's own checks say so
    });
    poll->start();
}

ExitRecorder::ExitRecorder() {
    platform::SetExitProcessHandler([](int status) { throw ProcessExit{status}; });
}

ExitRecorder::~ExitRecorder() {
    platform::SetExitProcessHandler({});
}

QString CrLf(const QStringList &lines) {
    return lines.join(QStringLiteral("\r\n")) + "\r\n";
}

QStringList SettingsLines(const std::vector<std::pair<int, QString>> &overrides) {
    QStringList values{QString(),
                       QStringLiteral("Sample Help"),
                       QStringLiteral("sample.ico"),
                       QString(),
                       QStringLiteral("Arial"),
                       QStringLiteral("0"),
                       QStringLiteral("10"),
                       QStringLiteral("0"),
                       QStringLiteral("16777215"),
                       QStringLiteral("16711680"),
                       QStringLiteral("255")};
    const QStringList group{QStringLiteral("Arial"), QStringLiteral("0"), QStringLiteral("10"),
                            QStringLiteral("0")};
    values << group; // 12..15
    values << QStringLiteral("Arial") << QStringLiteral("0") << QStringLiteral("8")
           << "0"; // 16..19
    for (int i = 0; i < 7; ++i)
        values << group; // 20..47
    for (const auto &[k, value] : overrides)
        values[k - 1] = value;
    QStringList lines;
    for (const QString &value : values)
        lines << value + u'*';
    lines << QStringLiteral("^");
    return lines;
}

QString MakeProject(const QStringList &contents, const QStringList &index,
                    const std::vector<std::pair<int, QString>> &overrides) {
    QStringList lines;
    for (const QString &record : contents)
        lines << record + u'*';
    lines << QStringLiteral("^");
    lines << SettingsLines(overrides);
    for (const QString &record : index)
        lines << record + u'*';
    lines << QStringLiteral("%");
    return CrLf(lines);
}

HelpFolder::HelpFolder() {
    dir.setAutoRemove(true);
}

QString HelpFolder::WindowsPath() const {
    return platform::ToWindowsPath(dir.path() + u'/');
}

void HelpFolder::Write(const QString &name, const QByteArray &bytes) const {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void HelpFolder::Page(const QString &name, const QString &body) const {
    WriteText(name, QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>")
                        .arg(name, body));
}

void HelpFolder::Mkdir(const QString &name) const {
    QDir(dir.path()).mkpath(name);
}

Viewer::Viewer(const HelpFolder &folder, const QString &argument) {
    const QString target =
        argument.isEmpty() ? folder.Path() + u'/' : folder.Path() + u'/' + argument;
    platform::SetCommandLine(QStringLiteral("Z:\\opt\\vellumo\\vellumo ") +
                             platform::ToWindowsPath(target));
    main = std::make_unique<TForm1>();
    Form1 = main.get();
    extractor = std::make_unique<TForm2>();
    Form2 = extractor.get();
    main->show();
    Settle();
}

Viewer::~Viewer() {
    extractor.reset();
    Form2 = nullptr;
    main.reset();
    Form1 = nullptr;
}

void Viewer::Settle() {
    // Each arrival may post one more; a few rounds bring any chain to rest.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

QString Viewer::Url() const {
    return main->HTML1->GetWideStringProp(platform::THTML::PropDocumentUrl);
}

QStringList Viewer::History() const {
    QStringList entries;
    for (int i = 0; i < main->ListBox4->count(); ++i)
        entries << main->ListBox4->item(i)->text();
    return entries;
}

int Viewer::HistoryPosition() const {
    return main->ListBox4->currentRow();
}

QString Viewer::Selected() const {
    const TTreeNode *node = main->TreeView1->currentItem();
    return node ? node->text(0) : QString();
}

TTreeNode *Viewer::Node(const QString &caption) const {
    const auto found = main->TreeView1->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void Viewer::Click(TTreeNode *node) const {
    main->TreeView1->scrollToItem(node);
    const QRect rect = main->TreeView1->visualItemRect(node);
    QTest::mouseClick(main->TreeView1->viewport(), Qt::LeftButton, {}, rect.center());
}

void Viewer::Select(TTreeNode *node) const {
    main->TreeView1->setCurrentItem(node);
}

bool ClickLink(platform::THTML *html, const QString &text) {
    QTextCursor cursor = html->document()->find(text);
    if (cursor.isNull())
        return false;
    cursor.setPosition(cursor.selectionStart() + 1);
    QTest::mouseClick(html->viewport(), Qt::LeftButton, {}, html->cursorRect(cursor).center());
    Viewer::Settle();
    return true;
}

} // namespace testing_support

#pragma once

#include "app/Globals.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMessageBox;
class TForm1;
class TForm2;
namespace platform {
class THTML;
}

namespace testing_support {

// Records every message box instead of showing it, for as long as it lives.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<std::pair<QString, QString>> Messages; // text, caption
    QStringList Texts() const;
};

// Once the real message box showing `text` is up (its caller waiting for it), runs `act` on
// it; `act` dismisses it.
void WhileBoxIsUp(const QString &text, std::function<void(QMessageBox *)> act);

// Turns the process exit into a thrown ProcessExit, for as long as it lives.
struct ProcessExit {
    int Status;
};
class ExitRecorder {
public:
    ExitRecorder();
    ~ExitRecorder();
};

// Joins lines with CR LF, as help projects written on Windows have them.
QString CrLf(const QStringList &lines);

// The 47 settings values (each with its "*") of a project with plain Arial everywhere, and the
// one-character separator line; `overrides` replaces values by number.
QStringList SettingsLines(const std::vector<std::pair<int, QString>> &overrides = {});

// A complete project text from contents records and index records (each without "*").
QString MakeProject(const QStringList &contents, const QStringList &index,
                    const std::vector<std::pair<int, QString>> &overrides = {});

// A help folder on disk.
class HelpFolder {
public:
    HelpFolder();
    QString Path() const { return dir.path(); }
    // The folder in the viewer's Windows form, with its trailing backslash ("Z:\tmp\x\").
    QString WindowsPath() const;
    void Write(const QString &name, const QByteArray &bytes) const;
    void WriteText(const QString &name, const QString &text) const { Write(name, text.toUtf8()); }
    // A small page with a title and a body.
    void Page(const QString &name, const QString &body) const;
    void Mkdir(const QString &name) const;

private:
    QTemporaryDir dir;
};

// The real start-up on a help folder: the command line names `argument` (a path relative to
// the folder, or the folder itself when empty), FormCreate runs, then Form2 is made and Form1
// shown, which runs FormShow; events are let run until the home page has arrived.
class Viewer {
public:
    explicit Viewer(const HelpFolder &folder, const QString &argument = {});
    ~Viewer();
    TForm1 *form1() const { return Form1; }
    // Lets events run until no retrieval is pending.
    static void Settle();
    // The URL the main window's control shows.
    QString Url() const;
    QStringList History() const;
    int HistoryPosition() const;
    QString Selected() const; // caption of the tree's selected node
    // Finds a Contents node by caption.
    TTreeNode *Node(const QString &caption) const;
    // The user clicks a node (press selects it, release clicks the tree).
    void Click(TTreeNode *node) const;
    // The user moves the selection to a node with the keyboard.
    void Select(TTreeNode *node) const;

private:
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> extractor;
};

// Clicks, with the mouse, the link whose text is `text` in the page a control shows; false
// when the page holds no such text.
bool ClickLink(platform::THTML *html, const QString &text);

} // namespace testing_support

#pragma once

#include "app/Globals.h"
#include "navigation/TopicUrl.h"
#include "platform/Controls.h"
#include "platform/THTML.h"
#include "project/Appearance.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>
#include <array>

namespace reading {
class ReadingTools;
}

// The main window: Contents, Index and Text Search tabs, the toolbar and the page view. Its
// handlers are defined in the folder of the subsystem they belong to.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs FormCreate, which ends the process when no help project
    // can be read.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    QFrame *Panel1;
    QToolButton *SpeedButton1; // Home
    QToolButton *SpeedButton4; // Refresh
    QToolButton *SpeedButton2; // Go Back
    QToolButton *SpeedButton3; // Go Forward
    QToolButton *SpeedButton5; // Exit Help
    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QWidget *TabSheet3;
    platform::TTreeView *TreeView1;
    platform::TListBox *ListBox1; // the Index, sorted
    platform::TRadioGroup *RadioGroup1;
    QLabel *Label1;
    QPushButton *BitBtn1;
    platform::TEdit *Edit1;
    platform::TListBox *ListBox5; // search results
    platform::THTML *HTML1;
    QListWidget *ListBox2; // node targets, by creation number
    QListWidget *ListBox3; // index targets, in file order
    QListWidget *ListBox4; // history; its current row is the history position
    QListWidget *ListBox6; // search hit targets, beside ListBox5
    std::array<QIcon, 4> ImageList1;
    reading::ReadingTools *Reading; // keys, find, zoom, print and the page's menu

    // Start-up (app/)
    void FormCreate();
    void FormShow();
    static QString DirectoryPart(const QString &path);

    // Help project (project/)
    void LoadHelpProject(const QString &text);

    // Topics and navigation (navigation/)
    static QString MakeTopicURL(const QString &path);
    void TreeView1Change();
    void TreeView1Click();
    void ListBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void HTML1EndRetrieval();

    // Text search (search/)
    void RadioGroup1Click();
    void BitBtn1Click();
    void Edit1KeyPress(QChar &key);
    void ListBox5Click();

    QString HelpDir;
    QString PageURL;
    QString PageText;
    TTreeNode *CurrentNode = nullptr;
    project::AppearanceSettings Appearance;

signals:
    // A search is about to look at the pages for `phrase`.
    void SearchStarted(const QString &phrase, bool caseSensitive);

protected:
    void showEvent(QShowEvent *event) override;

private:
    friend class ProjectBuilder;

    // Requests the topic of a hidden-list entry, or shows the message when its URL fails `rule`.
    void ShowTopic(const QString &entry, navigation::LengthRule rule, const QString &text,
                   const QString &caption);
    // Selects `node` in the tree; a real change runs TreeView1Change at once.
    void SelectNode(TTreeNode *node);
    void RevealNode(TTreeNode *node);
    void OpenParents(TTreeNode *node);
    void CompleteContentsRecord(const QString &body, const QString &type, int parent);
    void CompleteIndexRecord(const QString &body);
    void ApplyAppearance();
    void buildLayout();
    void wireEvents();

    bool shown = false;
};

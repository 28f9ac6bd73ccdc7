#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QKeySequence;
class TForm1;

namespace reading {

class FindBar;
class Highlights;

// What readers of any help viewer expect on top of the main window's own controls: keys for
// every button, find in page, zoom, printing, the page's context menu and the marks of the
// search a result was opened from. Every key and menu entry that navigates presses the
// matching button, so it runs exactly what the button runs.
class ReadingTools : public QObject {
    Q_OBJECT

public:
    explicit ReadingTools(TForm1 *form);

    FindBar *Find() const { return findBar; }
    Highlights *Marks() const { return marks; }

    // The page's context menu for a point of the page view (viewport coordinates), unshown.
    QMenu *PageMenu(const QPoint &at);

    QAction *Back;
    QAction *Forward;
    QAction *Home;
    QAction *Refresh;
    QAction *Quit;
    QAction *FindInPage;
    QAction *FindNext;
    QAction *FindPrevious;
    QAction *CloseFind;
    QAction *ZoomIn;
    QAction *ZoomOut;
    QAction *ZoomReset;
    QAction *Print;
    QAction *PrintPreview;
    QAction *Copy;
    QAction *SelectAll;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *action(const QString &text, const QList<QKeySequence> &keys,
                    std::function<void()> run);
    void showTab(int index, bool focus);
    void switchSide();
    void zoomTo(int percent);

    TForm1 *form;
    Highlights *marks;
    FindBar *findBar;
    QString searchPhrase; // the last search's phrase and letter-case rule
    bool searchCase = false;
};

} // namespace reading

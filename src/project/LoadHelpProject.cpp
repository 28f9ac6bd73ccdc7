#include "app/Unit1.h"
#include "platform/MessageBox.h"
#include "project/ProjectReader.h"
#include "project/StrToInt.h"

#include <QScopeGuard>

// Hands what the reader finds to the main window as it finds it.
class ProjectBuilder : public project::ProjectSink {
public:
    explicit ProjectBuilder(TForm1 &form) : form(form) {}

    void ContentsRecord(const QString &body, const QString &type, int parent) override {
        form.CompleteContentsRecord(body, type, parent);
    }
    void ContentsEnd() override {
        LastNode = NodeTable.empty() ? nullptr : NodeTable.back();
        if (TTreeNode *selected = form.TreeView1->currentItem())
            form.RevealNode(selected);
    }
    void Setting(int k, const QString &value, int line) override {
        if (k == 2)
            HelpTitle = value;
        else if (k == 3)
            IconFileName = value;
        else
            form.Appearance.Store(k, value, line);
        if (k >= 9 && k <= 11)
            form.Appearance.ColorLines[static_cast<size_t>(k - 9)] = line;
    }
    void IndexRecord(const QString &body) override { form.CompleteIndexRecord(body); }

private:
    TForm1 &form;
};

void TForm1::LoadHelpProject(const QString &text) {
    if (text.isEmpty()) {
        platform::MessageBoxA(QStringLiteral("File is Unreadable"),
                              QStringLiteral("File Open Error!"));
        return;
    }
    {
        // A shown tree lays itself out again at every selection; hidden, it lays out once
        // when it is shown again (also when the load stops with an error).
        const bool shownBefore = !TreeView1->isHidden();
        const auto showAgain = qScopeGuard([&] { TreeView1->setVisible(shownBefore); });
        TreeView1->hide();
        ProjectBuilder builder(*this);
        project::ReadHelpProject(text, builder);
    }
    ApplyAppearance();
}

#include "app/Globals.h"

TForm1 *Form1 = nullptr;
TForm2 *Form2 = nullptr;

QString ProjectFileName;
QString ProjectText;
QString HelpTitle;
QString IconFileName;
QString SearchText;
int CaseSensitive = 0;
int ViewerReady = 0;
int SuppressHistory = 0;

std::vector<TTreeNode *> NodeTable;
TTreeNode *LastNode = nullptr;

std::array<platform::TFontStyles, 4> StyleSets{};

void ResetGlobals() {
    ProjectFileName.clear();
    ProjectText.clear();
    HelpTitle.clear();
    IconFileName.clear();
    SearchText.clear();
    CaseSensitive = 0;
    ViewerReady = 0;
    SuppressHistory = 0;
    NodeTable.clear();
    LastNode = nullptr;
    StyleSets = {};
}

#pragma once

#include "platform/TFont.h"

#include <QString>
#include <array>
#include <vector>

class QTreeWidgetItem;
class TForm1;
class TForm2;

// A node of the Contents tree.
using TTreeNode = QTreeWidgetItem;

// The process-wide state, alive for the whole run.
extern TForm1 *Form1;
extern TForm2 *Form2;

extern QString ProjectFileName;
extern QString ProjectText;
extern QString HelpTitle;
extern QString IconFileName;
extern QString SearchText;
extern int CaseSensitive;
extern int ViewerReady;
extern int SuppressHistory;

// Contents nodes by creation number; grows with the project (no fixed limit).
extern std::vector<TTreeNode *> NodeTable;
extern TTreeNode *LastNode;

// Font style sets by style code: 0 plain, 1 bold, 2 italic, 3 bold and italic.
extern std::array<platform::TFontStyles, 4> StyleSets;

// Puts every item above back in its initial state (a new main window starts from it).
void ResetGlobals();

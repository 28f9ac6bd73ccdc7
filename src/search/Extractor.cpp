#include "app/Unit1.h"
#include "app/Unit2.h"

void TForm2::FormShow() {
    HTML1->RequestDoc(Form1->PageURL);
}

void TForm2::HTML1EndRetrieval() {
    Form1->PageText = HTML1->GetPlainText(0, 0);
    endModal(1);
}

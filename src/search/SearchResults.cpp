#include "app/Unit1.h"

void TForm1::ListBox5Click() {
    if (ListBox5->count() == 0)
        return;
    if (!ListBox5->currentItem() || !ListBox5->currentItem()->isSelected())
        ListBox5->setCurrentRow(0);
    const int row = ListBox5->currentRow();
    if (row < 0 || row >= ListBox6->count())
        return;
    ShowTopic(ListBox6->item(row)->text(), navigation::LengthRule::MoreThan14,
              QStringLiteral("Html File not Found."), QStringLiteral("Html Help Error!"));
}

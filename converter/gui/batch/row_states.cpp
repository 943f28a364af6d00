#include "converter/gui/batch/row_states.h"

#include "converter/gui/widgets/XListCtrl.h"

void ShowRowProgress(CXListCtrl& list, int row, int percent) {
  // The bar shows its text as given, so the text is renewed with the value.
  list.SetProgress(row, kStatusColumn, true, QString("Converting %1%").arg(percent));
  list.UpdateProgress(row, kStatusColumn, percent);
}

void ShowRowFailed(CXListCtrl& list, int row, const QString& reason) {
  list.DeleteProgress(row, kStatusColumn);
  list.SetItemText(row, kStatusColumn, "Failed.");
  list.SetItemToolTipText(row, kStatusColumn, reason);
  list.SetCheckbox(row, kInputColumn, 0);
}

std::string RowInputPath(const CXListCtrl& list, int row) {
  return list.GetItemText(row, kInputColumn).toStdString();
}

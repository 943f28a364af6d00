// How the batch shows a queued file's state in its row of the file list.
#pragma once

#include <QString>
#include <string>

class CXListCtrl;

inline constexpr int kInputColumn = 0;   // the input path and the check box
inline constexpr int kStatusColumn = 3;  // the status text or the progress bar

// The progress bar with "Converting N%".
void ShowRowProgress(CXListCtrl& list, int row, int percent);
// Status "Failed." with the reason as the cell's tooltip, check box cleared.
void ShowRowFailed(CXListCtrl& list, int row, const QString& reason);
// The row's input path, as the encoder and the file system take it.
std::string RowInputPath(const CXListCtrl& list, int row);

// The picture list: which files count as pictures, the recursive folder scan
// that fills the list, and the rule by which the list position advances.
#pragma once

#include <functional>
#include <string>

#include "platform/framework/StringList.h"

// True for names whose extension (from the last ".") is .jpg, .jpeg or .bmp in
// any case.
bool IsPictureName(const std::string& name);

// Appends every picture file under folder (no trailing "/") to list, depth-first:
// a subfolder's pictures stand where the subfolder is met in the folder's
// order. Each directory is scanned at most once (by device and inode), so links
// leading back to an ancestor end. Folders that cannot be read add nothing.
// The scan stops early once terminated() is true.
void ScanFolder(const std::string& folder, TStringList& list,
                const std::function<bool()>& terminated);

// The index after pageIndex, held on the last entry of a list of count entries.
int32_t AdvanceIndex(int32_t pageIndex, int32_t count);

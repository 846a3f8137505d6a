// The one-pass settings ini reader held against the system's ini calls on one file: shared by
// the store tests and the reader's fuzz target.
#pragma once
#include <string>
#include <vector>

#include "platform/win32.h"

namespace zems_test {

// The names a lookup in text should try: each section the ini calls list, each key they list
// under it, and the raw pieces of every line (before and after its first '=', between its
// brackets), each also with its case changed and with blanks around it, plus extra.
std::vector<std::u16string> IniLookupNames(const std::string& bytes, LPCWSTR path,
                                           const std::vector<std::u16string>& extra);

// Looks every name up as a section and every name as a key of it through both readers (the
// file at path holds bytes), with several buffer sizes. Empty when they agree everywhere, else
// the first difference.
std::string CompareIniTableWithIniCalls(const std::string& bytes, LPCWSTR path,
                                        const std::vector<std::u16string>& names);

}  // namespace zems_test

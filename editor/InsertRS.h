#pragma once
// The editor's string table: the insert snippets, the default custom insert text and the
// new-document skeleton, each loaded by its id at use.
#include <QString>

namespace InsertRS {

enum : int {
    sHorRule = 65216,
    sCustomDefault = 65217,
    sNewDocument = 65218,
};

// The string with id, or an empty string for an id the table does not hold.
QString LoadStr(int id);

// The snippet id of an insert command by its item name ("btBold"), or 0 when the item is
// not an insert command.
int InsertIdOf(const QString& itemName);

}  // namespace InsertRS

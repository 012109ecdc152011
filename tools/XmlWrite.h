#pragma once
// "Write" of the XML tool: the tree's items as an XML document in the current project's
// directory, under the name of the opened file. Element items become elements (the text
// after the first "=" their character data), attribute items attributes of the element item
// they stand under, at any depth; processing instructions are not written. A declaration is
// written as its items show it, and the file is in the encoding it names (UTF-8 when it names
// none); a file without one is written in the encoding it was read in, so that what was not
// edited keeps its bytes. Every failure has a message and leaves the file as it was.

#include <string>

#include "platform/Result.h"
#include "tools/XmlTree.h"

namespace quastor {

struct AppState;

// The file name that the file item's text names: the text after its first ":" (all of it
// when it holds none), without leading and trailing blanks. Only a plain name is taken: no
// folder, no drive, not "." or "..".
Result<std::string> WriteFileName(const std::string& file_item_text);

// The document the tree stands for, as the platform's writer puts it into text.
Result<std::string> XmlTreeDocument(const XmlItemTree& tree);

// The file Write replaces: ProjectDir under WriteFileName of the file item; fails for an empty
// tree, no project and a file item that names no file.
Result<std::filesystem::path> XmlTreeTarget(const XmlItemTree& tree, const AppState& state);

// Writes the document into XmlTreeTarget, atomically.
Status WriteXmlTree(const XmlItemTree& tree, const AppState& state);

}  // namespace quastor

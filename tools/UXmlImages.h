#pragma once
// The image list of the XML tool's tree, drawn in code: per node kind an image at index
// ImageIndex(kind) and, one index higher, the same image as a selected item shows it.

#include <QIcon>
#include <QPixmap>

#include "tools/XmlParser.h"

namespace quastor {

// Images 0 to 9: document, element, attribute, processing instruction, declaration, each
// followed by its selected form.
inline constexpr int kXmlImageCount = 10;
QPixmap XmlImage(int index);

// The kind's image, with its selected form for selected items.
QIcon XmlKindIcon(XmlNodeKind kind);

}  // namespace quastor

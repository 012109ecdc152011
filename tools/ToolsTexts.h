#pragma once
// The utilities' own words, shared by their windows, the command-line tool and tests.

namespace quastor::tools_texts {

// XML reader and writer.
inline constexpr char kXmlCaption[] = "XML Reader & Writer";
inline constexpr char kOpenButton[] = "Open ";
inline constexpr char kFullExpandButton[] = "Full Expand";
inline constexpr char kWriteButton[] = "Write";
inline constexpr char kOpenXmlTitle[] = "Open XML File";
// "XML Files (*.xml)|*.xml" in the form the file dialogs take.
inline constexpr char kXmlFilter[] = "XML Files (*.xml)";

// Display texts of the tree items.
inline constexpr char kFilePrefix[] = "File: ";
inline constexpr char kProcessingInstructionSuffix[] = "ProcessingInstruction";
inline constexpr char kDeclarationText[] = "XMLDeclaration";
inline constexpr char kValueSeparator[] = " = ";

// The parser's messages.
inline constexpr char kDocTypeNotImplemented[] = "DocTypeDecl parsing not yet implemented";
inline constexpr char kMissingElement[] = "Missing element";
inline constexpr char kDeclarationNotTerminated[] = "XML declaration not terminated with \"?>\"";
inline constexpr char kEqualsMissing[] = "Equals sign missing in attribute";
inline constexpr char kAttributeMissingValue[] = "Attribute \"%s\" missing value";
inline constexpr char kLessThanInAttribute[] = "Invalid character \"<\" in attribute value";
inline constexpr char kTagNotTerminated[] = "Tag not terminated properly";
inline constexpr char kNoEndingTag[] = "No ending tag for %s";
inline constexpr char kEndTagMismatch[] =
    "End tag name \"%s\" does not match start tag name \"%s\"";
inline constexpr char kEndTagMissingGreater[] = "End tag missing \">\"";
inline constexpr char kCDataEndInText[] = "Character data cannot contain \"]]>\"";
inline constexpr char kCommentTripleDash[] = "Comments cannot end in \"--->\"";
inline constexpr char kPiNoValidName[] = "Processing instruction does not contain valid name";
inline constexpr char kPiReservedName[] =
    "Processing instruction cannot have the reserved name \"xml\"";
inline constexpr char kPiUnterminated[] = "Unterminated processing instruction";
inline constexpr char kReferenceWithoutAmpersand[] = "All references must begin with \"&\"";
inline constexpr char kUnrecognizedReference[] = "Unrecognized reference";
inline constexpr char kInvalidReferenceInteger[] = "Invalid integer in reference &%s;";
inline constexpr char kUnexpectedEnd[] = "Unexpected end of data";
// The reference, the system's words, and the encoding of the file.
inline constexpr char kReferenceNotHeld[] =
    "%s: a character reference names a character this file cannot hold (%s)";
// A bound of this system: the deepest nesting the parser follows.
inline constexpr char kNestedTooDeep[] = "Elements nested more than %d levels deep";
inline constexpr char kTooLarge[] = "Files of 4 GB and more are too large for the XML tool";

// Opening and writing.
inline constexpr char kCannotOpenFile[] = "Cannot open file \"%s\". %s";
inline constexpr char kNothingToWrite[] = "Nothing to write: open an XML file first";
inline constexpr char kNoElementToWrite[] = "Nothing to write: the tree holds no element";
inline constexpr char kBadFileName[] =
    "Cannot write \"%s\": the file name must be a plain name, without folders or \"..\"";
inline constexpr char kBadElementName[] =
    "Cannot write the tree: \"%s\" is not a valid element name";
inline constexpr char kBadAttributeName[] =
    "Cannot write the tree: \"%s\" is not a valid attribute name";
inline constexpr char kNulInText[] = "Cannot write the tree: the text of \"%s\" holds a NUL byte";
inline constexpr char kCharacterNotHeld[] =
    "Cannot write the tree: the text of \"%s\" holds a character that %s cannot hold";
inline constexpr char kBadDeclaration[] =
    "Cannot write the tree: \"%s\" cannot stand in the XML declaration";

// String selection dialog.
inline constexpr char kSelStringCaption[] = "Select String";
inline constexpr char kIndexHeading[] = "Index";
inline constexpr char kStringHeading[] = "String";
inline constexpr char kSelStrDesign[] = "Sel str:";
inline constexpr char kSelStrPrefix[] = "Sel str: ";
inline constexpr char kStringsNotFound[] = "File strings XML not found";
inline constexpr char kErrorReadingXml[] = "Error in reading file XML";
// The DOM is linked into the program, so this one is never shown; kept with its siblings.
inline constexpr char kParserNotInstalled[] = "Error XML parser not installed";
// The strings file of a project, which the string picker shows.
inline constexpr char kStringsFileName[] = "strings.xml";

}  // namespace quastor::tools_texts

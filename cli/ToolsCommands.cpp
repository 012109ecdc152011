// xml FILE: the XML tool's tree of a file, one item per line, indented by two blanks per
// level, as the window shows it; the parser's message and exit status 1 when it does not read.

#include <ostream>

#include "cli/Cli.h"
#include "platform/PathText.h"
#include "tools/XmlTree.h"

namespace quastor::cli {

int XmlCommand(Context& ctx, const Arguments& args) {
  if (args.size() != 1)
    return Usage(ctx, "xml takes one FILE");
  const Result<XmlItemTree> tree = OpenXmlTree(PathFromUtf8(args[0]));
  if (!tree) {
    ctx.err << tree.error() << "\n";
    return kFailed;
  }
  for (const std::string& line : tree->Lines())
    ctx.out << line << "\n";
  return kDone;
}

}  // namespace quastor::cli

// settings show | settings set ... | image | gsd FILE
// The same core functions as the settings dialog and the main window's Steps 3 and 4, with
// the same message texts.

#include <ostream>

#include "app/AppTexts.h"
#include "cli/Cli.h"
#include "gateway/ConfigImage.h"
#include "gateway/GatewayTexts.h"
#include "gateway/GsdFile.h"
#include "gateway/ParGen.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor::cli {
namespace {

namespace texts = gateway_texts;

bool ProjectSelected(Context& ctx) {
  if (ctx.state.ProjectSelected())
    return true;
  ctx.err << app_texts::kProjectNotValid << "\n";
  return false;
}

int Fail(Context& ctx, const std::string& message) {
  ctx.err << message << "\n";
  return kFailed;
}

// The file's values; a file that cannot be read is refused, a missing one gives the defaults.
bool Load(Context& ctx, ParGenLoad& load) {
  load = LoadParGen(ctx.state.ProjectFiles.pargen);
  if (!load.report.Complete()) {
    for (const LoadMessage& message : load.messages)
      ctx.err << message.text << "\n";
    return false;
  }
  return true;
}

// Without a project there is no file: the values a new project starts from.
int ShowSettings(Context& ctx) {
  ParGenLoad load;
  if (ctx.state.ProjectSelected() && !Load(ctx, load))
    return kFailed;
  if (ctx.state.ProjectSelected() && !load.found) {
    ctx.err << FormatText(texts::kNoSettingsYet, {Utf8FromPath(ctx.state.ProjectFiles.pargen)})
            << "\n";
  }
  const ParGen& v = load.model;
  ctx.out << texts::kProfiId << "=" << v.profiId << "\n"
          << texts::kProfiBaud << "=" << v.profiBaud << "\n"
          << texts::kProfiNbIn << "=" << v.profiNbIn << "\n"
          << texts::kProfiNbOut << "=" << v.profiNbOut << "\n"
          << texts::kDnetDevId << "=" << v.dnetDevId << "\n"
          << texts::kDnetBaud << "=" << v.dnetBaud << "\n";
  return kDone;
}

// The index of a DeviceNet baud name, -1 (no selection) for any other text.
std::int32_t DnetBaudIndex(const std::string& name) {
  for (int i = 0; i < texts::kDnetBaudCount; ++i) {
    if (name == texts::kDnetBaudNames[i])
      return i;
  }
  return -1;
}

// Starts from what the dialog would show, applies the options, validates as OK does.
int SetSettings(Context& ctx, const Arguments& args) {
  ParGenLoad load;
  if (!Load(ctx, load))
    return kFailed;
  ParGen values = AsDialogShows(load.model);
  for (std::size_t i = 1; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (i + 1 >= args.size())
      return Usage(ctx, "option " + option + " needs a value");
    const std::string& value = args[i + 1];
    if (option == "--profi-id") {
      values.profiId = value;
    } else if (option == "--profi-in") {
      values.profiNbIn = value;
    } else if (option == "--profi-out") {
      values.profiNbOut = value;
    } else if (option == "--dnet-id") {
      values.dnetDevId = value;
    } else if (option == "--dnet-baud") {
      values.dnetBaud = DnetBaudIndex(value);
    } else {
      return Usage(ctx, "unknown option \"" + option + "\" of settings set");
    }
  }
  if (Status valid = ValidateParGen(values); !valid)
    return Fail(ctx, valid.error());
  if (Status saved = SaveParGen(ctx.state.ProjectFiles.pargen, values); !saved) {
    return Fail(ctx, saved.error());
  }
  return kDone;
}

}  // namespace

int SettingsCommand(Context& ctx, const Arguments& args) {
  const bool show = args.size() == 1 && args[0] == "show";
  const bool set = !args.empty() && args[0] == "set";
  if (!show && !set)
    return Usage(ctx, "settings needs: show, or set with options");
  if (show)
    return ShowSettings(ctx);
  if (!ProjectSelected(ctx))
    return kFailed;
  return SetSettings(ctx, args);
}

int ImageCommand(Context& ctx, const Arguments& args) {
  if (!args.empty())
    return Usage(ctx, "image takes no arguments");
  if (!ProjectSelected(ctx))
    return kFailed;
  const Result<ConfigImage> image = BuildConfigImage(ctx.state.ProjectDir);
  if (!image)
    return Fail(ctx, image.error());
  if (Status written = WriteConfigImage(ctx.state.ProjectDir, *image); !written) {
    return Fail(ctx, written.error());
  }
  ctx.out << HexBytes(*image) << "\n";
  return kDone;
}

int GsdCommand(Context& ctx, const Arguments& args) {
  if (args.size() != 1 || args[0].empty())
    return Usage(ctx, "gsd needs: FILE");
  if (!ProjectSelected(ctx))
    return kFailed;
  if (Status written = WriteGsdFile(ctx.state.ProjectDir, PathFromUtf8(args[0])); !written) {
    return Fail(ctx, written.error());
  }
  return kDone;
}

}  // namespace quastor::cli

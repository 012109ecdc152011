// eds FILE and dbc FILE: what the device description readers find in a file, one line each,
// for scripts and for checking a file before it is used; the reader's message and exit status
// 1 when the file does not read. Neither needs a project nor writes anything.
//
// eds: one line per object and one per value, in index and sub-index order:
//   INDEX SUB OBJECTTYPE DATATYPE SIZE ACCESS "NAME" [default=VALUE]
// INDEX and SUB in hexadecimal ("0x1018 0x01"); an ARRAY's or RECORD's own line has "-" for
// SUB, DATATYPE, SIZE and ACCESS and its sub-objects follow it. SIZE is in bytes, "-" for a
// type of no fixed size. A double quote inside NAME is doubled; VALUE is the default value as
// the file writes it ("$NODEID+0x180"), and "default=" is left out when the file gives none.
//
// dbc: one line per message, in file order, then one per signal, indented by two blanks:
//   ID extended|standard LENGTH NAME sender=NODE [priority=P edp=E dp=D pf=PF ps=PS pgn=PGN
//   sa=SA [da=DA]]
//   NAME start=BIT length=BITS order=little|big signed|unsigned factor=F offset=O min=A max=B
//   unit="TEXT" [mux=M|m<n>] receivers=NODE,NODE
// ID without the extended bit; the J1939 fields of an extended identifier in hexadecimal, da
// (the destination address, PS) for PDU1 messages only. start is the bit as the file writes
// it (the most significant one for big-endian signals); the numbers as the file writes them.

#include <cstdio>
#include <ostream>

#include "cli/Cli.h"
#include "devices/DbcFile.h"
#include "devices/EdsFile.h"
#include "platform/PathText.h"

namespace quastor::cli {
namespace {

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"')
      quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string EntryLine(std::uint16_t index, const EdsEntry& entry) {
  std::string line = Hex(index, 4) + " " + Hex(entry.subIndex, 2) + " " +
                     ObjectTypeName(entry.objectType) + " " + DataTypeName(entry.dataType) + " " +
                     (entry.Size() > 0 ? std::to_string(entry.Size()) : "-") + " " +
                     AccessText(entry.access) + " " + Quoted(entry.name);
  if (entry.defaultValue)
    line += " default=" + *entry.defaultValue;
  return line;
}

std::string MessageLine(const DbcMessage& message) {
  std::string line = Hex(message.identifier, message.extended ? 8 : 3) +
                     (message.extended ? " extended " : " standard ") +
                     std::to_string(message.length) + " " + message.name +
                     " sender=" + message.sender;
  if (const std::optional<J1939Id> id = message.J1939()) {
    line += " priority=" + std::to_string(id->priority) +
            " edp=" + std::to_string(id->extendedDataPage) + " dp=" + std::to_string(id->dataPage) +
            " pf=" + Hex(id->pduFormat, 2) + " ps=" + Hex(id->pduSpecific, 2) +
            " pgn=" + Hex(id->pgn, 5) + " sa=" + Hex(id->sourceAddress, 2);
    if (const std::optional<int> destination = id->Destination())
      line += " da=" + Hex(*destination, 2);
  }
  return line;
}

std::string SignalLine(const DbcSignal& signal) {
  std::string line = "  " + signal.name + " start=" + std::to_string(signal.startBit) +
                     " length=" + std::to_string(signal.length) +
                     " order=" + (signal.byteOrder == ByteOrder::kLittleEndian ? "little" : "big") +
                     (signal.isSigned ? " signed" : " unsigned") + " factor=" + signal.factorText +
                     " offset=" + signal.offsetText + " min=" + signal.minimumText +
                     " max=" + signal.maximumText + " unit=" + Quoted(signal.unit);
  if (!signal.multiplex.empty())
    line += " mux=" + signal.multiplex;
  line += " receivers=";
  for (std::size_t i = 0; i < signal.receivers.size(); ++i)
    line += (i > 0 ? "," : "") + signal.receivers[i];
  return line;
}

}  // namespace

int EdsCommand(Context& ctx, const Arguments& args) {
  if (args.size() != 1)
    return Usage(ctx, "eds takes one FILE");
  const Result<EdsFile> file = ReadEdsFile(PathFromUtf8(args[0]));
  if (!file) {
    ctx.err << file.error() << "\n";
    return kFailed;
  }
  for (const EdsObject& object : file->objects) {
    if (!HoldsOwnValue(object.objectType)) {
      ctx.out << Hex(object.index, 4) << " - " << ObjectTypeName(object.objectType) << " - - - "
              << Quoted(object.name) << "\n";
    }
    for (const EdsEntry& entry : object.entries)
      ctx.out << EntryLine(object.index, entry) << "\n";
  }
  return kDone;
}

int DbcCommand(Context& ctx, const Arguments& args) {
  if (args.size() != 1)
    return Usage(ctx, "dbc takes one FILE");
  const Result<DbcFile> file = ReadDbcFile(PathFromUtf8(args[0]));
  if (!file) {
    ctx.err << file.error() << "\n";
    return kFailed;
  }
  for (const DbcMessage& message : file->messages) {
    ctx.out << MessageLine(message) << "\n";
    for (const DbcSignal& signal : message.signals)
      ctx.out << SignalLine(signal) << "\n";
  }
  return kDone;
}

}  // namespace quastor::cli

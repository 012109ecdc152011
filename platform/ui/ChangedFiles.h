#pragma once
// Before a window writes files it read: asks about each one another program changed since.

namespace quastor {

class MessageService;
class ReadStamps;

// Asks kChangedByAnotherProgram for each remembered file that changed since it was read (No is
// the default); true when none changed or each was answered Yes.
bool ConfirmOverwriteChanged(MessageService& messages, const ReadStamps& stamps);

}  // namespace quastor

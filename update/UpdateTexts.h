#pragma once
// The device update's own words, shared by the update wizard, the firmware generation dialog,
// the command-line tool and the tests.

namespace quastor::update_texts {

// Update wizard.
inline constexpr char kBootSerCaption[] = "Update Firmware from Serial (RS232)";
inline constexpr char kStepsTitle[] = "Follow these steps to update the VA4410 from RS232:";
inline constexpr char kStep1[] = "1 - Turn OFF the Device";
inline constexpr char kStep2[] = "2 - Insert the Boot Jumper (see the manual)";
inline constexpr char kStep3[] = "3 - Select the  COM port and press the connect button";
inline constexpr char kStep4[] = "4 - Turn ON the Device";
inline constexpr char kStep5[] = "5 - Check the BOOT led. It must blink quickly";
inline constexpr char kConnect[] = "Connect";
inline constexpr char kNext[] = "Next";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kOptionsTitle[] = "Update Device Options";
inline constexpr char kFirmware[] = "Firmware";
inline constexpr char kReadFirmware[] = "Read Firmware when finish";
inline constexpr char kProject[] = "Project";
inline constexpr char kReadProject[] = "Read Project when finish";
inline constexpr char kExecute[] = "Execute update firmware";
inline constexpr char kSelectOnePort[] = "Select one port.";
inline constexpr char kComPortCannotOpen[] = "Error!! Com Port cannot be open.";
inline constexpr char kNoSerialPort[] =
    "No serial port found. Plug in the RS232 adapter, then type its device or open this window "
    "again.";
// The updater's outcome is told only when it could not run to its end.
inline constexpr char kUpdaterNotStarted[] = "Ser_4410_Update.exe Not Started (%s)";
inline constexpr char kUpdaterTimedOut[] =
    "Ser_4410_Update.exe still running after 150 seconds, it is left running";

// Updater command line tokens and files.
inline constexpr char kUpdaterProgram[] = "Ser_4410_Update.exe";
inline constexpr char kSimulationFile[] = "sim4410.sim";
inline constexpr char kBinDirName[] = "bin";

// Firmware generation dialog.
inline constexpr char kModifyCaption[] = "Generate Firmware";
inline constexpr char kClose[] = "X";
inline constexpr char kBankLabel[] = "Bank %d";
inline constexpr char kPortLabel[] = "COM Port";
inline constexpr char kFirmwareDirMissing[] =
    "Error! Firmware Directory not Found! Please reinstall the software.";
inline constexpr char kFirmwareFileMissing[] =
    "Error! Firmware File not Found! Please reinstall the software.";
// Either of the two above, followed by the path that was looked for.
inline constexpr char kLookedFor[] = "%s (looked for %s)";
inline constexpr char kStageInputMissing[] = "File *.Sx Not Found,Abort Procedure";
inline constexpr char kNewNameEmpty[] = "File New *.Sx Not Found,Abort Procedure";
inline constexpr char kBinDirMissing[] = "Directory Bin Not Found,Abort Procedure";
inline constexpr char kBankImageMissing[] = "File bank%d.bin Not Found,Abort Procedure";
inline constexpr char kNotCreated[] = "File New Sx Not Create,Abort Procedure";
inline constexpr char kFlashWriteMissing[] = "FlashWrite.exe Not Found, Procedure Aborted";
// Refusals of damaged input and failures that the run reports before it stops.
inline constexpr char kDamagedRecord[] = "File %s Not Valid at line %d: %s,Abort Procedure";
inline constexpr char kNoEndRecord[] = "File %s Has No S9 Record,Abort Procedure";
inline constexpr char kBankImageTooLong[] =
    "File bank%d.bin Longer Than 16384 Bytes,Abort Procedure";
inline constexpr char kCannotRead[] = "File %s Not Readable (%s),Abort Procedure";
inline constexpr char kCannotWrite[] = "File %s Not Writable (%s),Abort Procedure";
inline constexpr char kFlashWriteNotStarted[] =
    "FlashWrite.exe Not Started (%s), Procedure Aborted";

// Why a record is refused (the last part of kDamagedRecord).
inline constexpr char kReasonEmpty[] = "empty line";
inline constexpr char kReasonNotRecord[] = "not an S-record";
inline constexpr char kReasonType[] = "unknown record type";
inline constexpr char kReasonHex[] = "not hexadecimal";
inline constexpr char kReasonCount[] = "wrong byte count";
inline constexpr char kReasonChecksum[] = "wrong checksum";
inline constexpr char kReasonTooLong[] = "line too long";
inline constexpr char kReasonRecordCount[] = "record count does not match the data records";

// Firmware files and programs.
inline constexpr char kSourceName[] = "sx4375.sx";
inline constexpr char kNewPrefix[] = "New_";
inline constexpr char kFlashProgram[] = "FlashWrite.exe";

}  // namespace quastor::update_texts

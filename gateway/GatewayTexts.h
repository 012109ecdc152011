#pragma once
// The gateway settings' own words, shared by the settings dialog, the main window's steps,
// the command-line tool and the tests.

namespace quastor::gateway_texts {

// pargen.xml: the file, its root and its six elements in the order they are written.
inline constexpr char kParGenFileName[] = "pargen.xml";
inline constexpr char kRootName[] = "Par_Gen";
inline constexpr char kProfiId[] = "PROFI_ID";
inline constexpr char kProfiBaud[] = "PROFI_BAUD";
inline constexpr char kProfiNbIn[] = "PROFI_NB_IN";
inline constexpr char kProfiNbOut[] = "PROFI_NB_OUT";
inline constexpr char kDnetDevId[] = "DNET_DEV_ID";
inline constexpr char kDnetBaud[] = "DNET_BAUD";

// The settings dialog.
inline constexpr char kCaption[] = "SET COMMUNICATION";
inline constexpr char kProfibusGroup[] = " PROFIBUS ";
inline constexpr char kDeviceNetGroup[] = " DeviceNet ";
inline constexpr char kIdLabel[] = "ID Dev.";
inline constexpr char kBaudLabel[] = "Baud rate";
inline constexpr char kByteInLabel[] = "N Byte IN";
inline constexpr char kByteOutLabel[] = "N Byte OUT";

// PROFIBUS baud list, indexes 0 to 10; the gateway always runs with "Auto Baudrate".
inline constexpr const char* kProfiBaudNames[] = {"9600",   "19200", "45.45K",       "93.75K",
                                                  "187.5K", "500K",  "1.5M",         "3.0M",
                                                  "6.0M",   "12M",   "Auto Baudrate"};
inline constexpr int kProfiBaudCount = 11;
inline constexpr int kAutoBaudrate = 10;

// DeviceNet baud list, indexes 0 to 2.
inline constexpr const char* kDnetBaudNames[] = {"125K", "250K", "500K"};
inline constexpr int kDnetBaudCount = 3;

// Validation of the dialog's OK, in this order (each ends with a blank after the full stop).
inline constexpr char kBadProfiId[] = "Error!! The PROFIBUS Device ID must be between 1 and 125. ";
inline constexpr char kBadProfiIn[] = "Error!! The PROFIBUS Byte IN must be between 0 and 244. ";
inline constexpr char kBadProfiOut[] = "Error!! The PROFIBUS Byte OUT must be between 0 and 244. ";
inline constexpr char kBadDnetId[] = "Error!! The DeviceNet Device ID must be between 0 and 63. ";
inline constexpr char kBadDnetBaud[] =
    "Error!! The DeviceNet baud rate must be 125K, 250K or 500K. ";

// Reading pargen.xml (the file's path in place of the first "%s").
// Asked before OK writes over a file the dialog could not read whole: the reading problem,
// then the file's name.
inline constexpr char kPartlyReadQuestion[] =
    "%s\nThe dialog shows default values for what it could not read, and OK writes them to %s. "
    "Write the file anyway?";
inline constexpr char kMissingElement[] =
    "The communication settings file \"%s\" has no element %s.";
inline constexpr char kNoSettingsYet[] =
    "The communication settings file \"%s\" does not exist yet: these are the defaults.";

// The GSD file needs the sizes of the project's own settings.
inline constexpr char kGsdNeedsSettings[] =
    "The GSD file cannot be written: the communication settings file \"%s\" does not exist. "
    "Set the communication of the project first.";

// The GSD save dialog.
inline constexpr char kGsdFilter[] = "Generic Station Description (*.gsd)";
inline constexpr char kGsdSuffix[] = "gsd";

// The main window's status line after Step 3: the path, then the modules written (input and
// output modules together).
inline constexpr char kGsdWritten[] = "GSD written: %s (%s)";
inline constexpr char kModule[] = "module";
inline constexpr char kModules[] = "modules";

}  // namespace quastor::gateway_texts

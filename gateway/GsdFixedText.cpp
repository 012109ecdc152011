#include "gateway/GsdFixedText.h"

#include <initializer_list>

namespace quastor {
namespace {

constexpr std::size_t kBoxWidth = 85;  // boxed header lines, closing "*" included

using Lines = std::vector<std::string>;

void Add(Lines& lines, std::initializer_list<const char*> texts) {
  for (const char* text : texts)
    lines.emplace_back(text);
}

// ";*", the text, blanks up to column 84, "*" in column 85.
std::string Boxed(const std::string& text) {
  std::string line = ";*" + text;
  if (line.size() < kBoxWidth - 1)
    line.append(kBoxWidth - 1 - line.size(), ' ');
  return line + "*";
}

std::string BoxedRule() {
  return Boxed(" " + std::string(kBoxWidth - 5, '=') + " ");
}

// A rule line, the title line and a rule line, all width characters long.
void AddSection(Lines& lines, const std::string& title, std::size_t width) {
  const std::string rule = ";" + std::string(width - 1, '=');
  std::string heading = ";==== " + title + " ";
  heading.append(width - heading.size(), '=');
  lines.push_back(rule);
  lines.push_back(heading);
  lines.push_back(rule);
}

void AddHeader(Lines& lines) {
  lines.emplace_back(";");
  lines.push_back(";" + std::string(20, '*') + " Gateway DeviceNet Slave to ProfiBus Slave " +
                  std::string(21, '*'));
  lines.push_back(BoxedRule());
  lines.push_back(Boxed(""));
  bool first = true;
  for (const char* vendor : kGsdVendorLines) {
    lines.push_back(
        Boxed(first ? std::string(" Vendor:   ") + vendor : std::string(11, ' ') + vendor));
    first = false;
  }
  lines.push_back(Boxed(""));
  lines.push_back(BoxedRule());
  lines.push_back(Boxed(""));
  lines.push_back(Boxed(" Function:       DeviceNet Slave to ProfiBus Slave"));
  lines.push_back(Boxed(""));
  lines.push_back(Boxed(""));
  lines.push_back(Boxed(" Order Number : VA4410"));
  lines.push_back(Boxed(""));
  lines.push_back(Boxed(""));
  lines.push_back(";" + std::string(kBoxWidth - 1, '*'));
  Add(lines, {"", "", "#Profibus_DP", "", ""});
}

void AddParameterTexts(Lines& lines) {
  AddSection(lines, "Prm-Text-Def-List", 85);
  Add(lines, {"",
              "PrmText=1",
              "Text(0)=\"disable\"",
              "Text(1)=\"enable\"",
              "EndPrmText",
              "",
              "PrmText  = 2",
              "Text(0)  = \"clock up\"",
              "Text(1)  = \"clock down\"",
              "EndPrmText",
              "",
              "PrmText  = 3",
              "Text(1)  = \"10\"",
              "Text(2)  = \"20\"",
              "Text(3)  = \"30\"",
              "Text(4)  = \"40\"",
              "Text(5)  = \"50\"",
              "EndPrmText",
              "",
              ""});
  AddSection(lines, "Ext-User-Prm-Data-Def-List", 86);
  Add(lines, {"",
              "ExtUserPrmData=1 \"[SlotNumber]\"",
              "Unsigned8 0 0-32",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=2 \"Diagnostic Alarm\"",
              "Bit(0) 0 0-1",
              "Prm_Text_Ref=1",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=3 \"Process Alarm\"",
              "Bit(1) 0 0-1",
              "Prm_Text_Ref=1",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=4 \"Counter mode\"",
              "Unsigned8 0 0-1",
              "Prm_Text_Ref=2",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=5 \"Counter timebase (ms)\"",
              "Unsigned8 1 1-5",
              "Prm_Text_Ref=3",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=6 \"Counter high-limit\"",
              "Unsigned16 65535 0-65535",
              "EndExtUserPrmData",
              "",
              "ExtUserPrmData=7 \"Counter low-limit\"",
              "Unsigned16 0 0-65535",
              "EndExtUserPrmData",
              "",
              ""});
}

void AddGeneralKeywords(Lines& lines) {
  AddSection(lines, "General DP Keywords", 86);
  Add(lines,
      {"", "GSD_Revision = 5", "Vendor_Name = \"Vexlar\"", "Model_Name = \"VA4410\"",
       "Revision = \"1.00\"", "Ident_Number = 0x7E29", "Protocol_Ident = 0", "Station_Type = 0",
       "FMS_supp = 0", "Hardware_Release = \"V1.00\"", "Software_Release = \"V1.00\"",
       "Redundancy = 0", "Repeater_Ctrl_Sig = 2", "24V_Pins = 0", "", ""});
  AddSection(lines, "Supported baudrates", 79);
  Add(lines, {"",
              "9.6_supp = 1",
              "19.2_supp = 1",
              "45.45_supp = 1",
              "93.75_supp = 1",
              "187.5_supp = 1",
              "500_supp = 1",
              "1.5M_supp = 1",
              "3M_supp = 1",
              "6M_supp = 1",
              "12M_supp = 1",
              "",
              "MaxTsdr_9.6=15",
              "MaxTsdr_19.2=15",
              "MaxTsdr_45.45=15",
              "MaxTsdr_93.75=15",
              "MaxTsdr_187.5=15",
              "MaxTsdr_500=15",
              "MaxTsdr_1.5M=20",
              "MaxTsdr_3M=35",
              "MaxTsdr_6M=50",
              "MaxTsdr_12M=95",
              "",
              ""});
}

void AddSlaveValues(Lines& lines, std::int32_t modules, std::int32_t input_bytes,
                    std::int32_t output_bytes) {
  AddSection(lines, "Slave specific values", 79);
  Add(lines, {"", "OrderNumber=\"VA4410\"", "Slave_Family = 9@Vexlar@VA4410",
              "Implementation_Type = \"VPC3+\"",
              "Info_Text=\"Vexlar: Gateway DeviceNet Slave to PROFIBUS Slave\"",
              "Bitmap_Device = \"DPV0_1N\"", "Bitmap_SF=\"DPV0_1S\"", "", "Freeze_Mode_supp=1",
              "Sync_Mode_supp=1", "Fail_Safe=1", "Auto_Baud_supp=1", "Set_Slave_Add_supp=0", "",
              "Min_Slave_Intervall=6", "", "Modular_Station=1"});
  lines.push_back("Max_Module=" + std::to_string(modules));
  lines.emplace_back("Modul_Offset=1");
  lines.push_back("Max_Input_Len=" + std::to_string(input_bytes));
  lines.push_back("Max_Output_Len=" + std::to_string(output_bytes));
  lines.push_back("Max_Data_Len=" + std::to_string(std::int64_t{input_bytes} + output_bytes));
  Add(lines, {"Max_Diag_Data_Len=18", "", "WD_Base_1ms_supp = 1", "Publisher_supp = 1", ""});
  AddSection(lines, "User-Prm-Data", 79);
  Add(lines, {"", "Max_User_Prm_Data_Len = 12", "Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00", ""});
  AddSection(lines, "Modulstatus", 79);
  Add(lines, {"", "Unit_Diag_Area = 24 - 25", "Value(1)= \"Slot 1: Module error\"",
              "Value(2)= \"Slot 1: Wrong module\"", "Value(3)= \"Slot 1: No module\"",
              "Unit_Diag_Area_End", "Unit_Diag_Area = 26 - 27",
              "Value(1)= \"Slot 2: Module error\"", "Value(2)= \"Slot 2: Wrong module\"",
              "Value(3)= \"Slot 2: No module\"", "Unit_Diag_Area_End", "", ""});
  AddSection(lines, "Module-Definition-List", 79);
  lines.emplace_back("");
}

}  // namespace

void AppendGsdFixedText(std::vector<std::string>& lines, std::int32_t modules,
                        std::int32_t input_bytes, std::int32_t output_bytes) {
  AddHeader(lines);
  AddParameterTexts(lines);
  AddGeneralKeywords(lines);
  AddSlaveValues(lines, modules, input_bytes, output_bytes);
}

}  // namespace quastor

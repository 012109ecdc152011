#pragma once
// The fixed part of the gateway's GSD file: the boxed header with the vendor identification,
// the parameter texts, the general DP keywords, the baud rates and the slave specific values.
// Only Max_Module and the three Max_*_Len lines depend on the project.

#include <cstdint>
#include <string>
#include <vector>

namespace quastor {

// Vendor identification shown in the boxed header.
inline constexpr const char* kGsdVendorLines[] = {
    "Vexlar Automation S.r.l.",
    "Via dei Fonditori, 27",
    "I-00000 Castel Vexlaro (XX)",
    "Italy",
    "Tel. +39 000 555 0100",
    "Fax  +39 000 555 0199",
    "E-mail: support@vexlar-automation.example",
};

// Appends the fixed text up to and including the empty line after the Module-Definition-List
// rule; modules is MIN+MOUT, input_bytes and output_bytes are NIN and NOUT.
void AppendGsdFixedText(std::vector<std::string>& lines, std::int32_t modules,
                        std::int32_t input_bytes, std::int32_t output_bytes);

}  // namespace quastor

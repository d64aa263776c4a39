#pragma once

#include <QString>
#include <cstdint>

#include "ParameterSet.h"
#include "Parameters.h"

class CDataExchange;
class CTemplateForm;

// What the editors that send a whole configuration (the custom dialog, the repeater and
// sensor pages) have in common: the same edit identifiers and the same frame values.
namespace ParameterFields {

inline constexpr int kId = 1005;
inline constexpr int kChf = 1006;
inline constexpr int kP0 = 1010;
inline constexpr int kTyp = 1011;
inline constexpr int kPrt = 1012;
inline constexpr int kOft = 1013;

// The edit a parameter is typed into.
constexpr int FieldOf(Param param) {
    switch (param) {
        case Param::ID:
            return kId;
        case Param::CHF:
            return kChf;
        case Param::OFT:
            return kOft;
        case Param::P0:
            return kP0;
        case Param::PRT:
            return kPrt;
        case Param::TYP:
            return kTyp;
    }
    return 0;
}

bool IsParameterField(int id);

// The six fields in their exchange order, each in the range `editor` gives it.
void ExchangeParameters(CDataExchange& dx, ParamEditor editor, int32_t& ID, int32_t& CHF,
                        int32_t& P0, QString& TYP, int32_t& PRT, int32_t& OFT);

// Locks what a client may not change; TYP holds one character.
void PrepareParameterFields(CTemplateForm& form, bool client);

// TYP goes to the device as Latin-1 bytes; a character outside Latin-1 becomes '?'.
ParameterSet ToParameterSet(int32_t ID, int32_t CHF, int32_t P0, const QString& TYP, int32_t PRT,
                            int32_t OFT);

// A TYP whose character cannot go inside a frame (a control character) is refused with a
// message box before any port is opened; true when it was. An empty TYP is left to the send.
bool RefuseUnprintableTyp(const QString& TYP);

}  // namespace ParameterFields

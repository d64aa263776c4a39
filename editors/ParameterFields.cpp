#include "ParameterFields.h"

#include <QByteArray>
#include <algorithm>

namespace ParameterFields {

bool IsParameterField(int id) {
    return id == kId || std::find(kLockedForClient.begin(), kLockedForClient.end(), id) !=
                            kLockedForClient.end();
}

ParameterSet ToParameterSet(int32_t ID, int32_t CHF, int32_t P0, const QString& TYP, int32_t PRT,
                            int32_t OFT) {
    const QByteArray typ = TYP.toLatin1();
    return ParameterSet{ID, CHF, P0, std::string(typ.constData(), typ.size()), PRT, OFT};
}

}  // namespace ParameterFields

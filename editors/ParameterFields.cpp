#include "ParameterFields.h"

#include <QByteArray>
#include <algorithm>

#include "CDataExchange.h"
#include "CTemplateForm.h"

namespace ParameterFields {

bool IsParameterField(int id) {
    return id == kId || std::find(kLockedForClient.begin(), kLockedForClient.end(), id) !=
                            kLockedForClient.end();
}

void ExchangeParameters(CDataExchange& dx, int32_t idMin, int32_t idMax, int32_t& ID, int32_t& CHF,
                        int32_t& P0, QString& TYP, int32_t& PRT, int32_t& OFT) {
    dx.Int(kId, ID, idMin, idMax);
    dx.Int(kChf, CHF, 0, 255);
    dx.Int(kP0, P0, 0, 255);
    dx.Text(kTyp, TYP);
    dx.Int(kPrt, PRT, 0, 255);
    dx.Int(kOft, OFT, 0, 255);
}

void PrepareParameterFields(CTemplateForm& form, bool client) {
    if (client) {
        for (int id : kLockedForClient) {
            form.EnableItem(id, false);
        }
    }
    form.LimitText(kTyp, 1);
}

ParameterSet ToParameterSet(int32_t ID, int32_t CHF, int32_t P0, const QString& TYP, int32_t PRT,
                            int32_t OFT) {
    const QByteArray typ = TYP.toLatin1();
    return ParameterSet{ID, CHF, P0, std::string(typ.constData(), typ.size()), PRT, OFT};
}

}  // namespace ParameterFields

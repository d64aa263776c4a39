#include "ParameterFields.h"

#include <QByteArray>
#include <algorithm>

#include "CDataExchange.h"
#include "CTemplateForm.h"
#include "Frames.h"
#include "MessageBoxes.h"

namespace ParameterFields {

namespace {

void ExchangeInt(CDataExchange& dx, ParamEditor editor, Param param, int id, int32_t& value) {
    const ParameterInfo& info = InfoOf(param);
    const ValueRange& range = editor == ParamEditor::kCustom ? info.custom : info.page;
    dx.Int(id, value, range.min, range.max);
}

}  // namespace

bool IsParameterField(int id) {
    return std::any_of(kParameters.begin(), kParameters.end(),
                       [id](const ParameterInfo& info) { return FieldOf(info.param) == id; });
}

void ExchangeParameters(CDataExchange& dx, ParamEditor editor, int32_t& ID, int32_t& CHF,
                        int32_t& P0, QString& TYP, int32_t& PRT, int32_t& OFT) {
    ExchangeInt(dx, editor, Param::ID, kId, ID);
    ExchangeInt(dx, editor, Param::CHF, kChf, CHF);
    ExchangeInt(dx, editor, Param::P0, kP0, P0);
    dx.Text(kTyp, TYP);
    ExchangeInt(dx, editor, Param::PRT, kPrt, PRT);
    ExchangeInt(dx, editor, Param::OFT, kOft, OFT);
}

void PrepareParameterFields(CTemplateForm& form, bool client) {
    for (const ParameterInfo& info : kParameters) {
        if (client && !info.clientConfig) {
            form.EnableItem(FieldOf(info.param), false);
        }
    }
    form.LimitText(kTyp, 1);
}

ParameterSet ToParameterSet(int32_t ID, int32_t CHF, int32_t P0, const QString& TYP, int32_t PRT,
                            int32_t OFT) {
    const QByteArray typ = TYP.toLatin1();
    return ParameterSet{ID, CHF, P0, std::string(typ.constData(), typ.size()), PRT, OFT};
}

bool RefuseUnprintableTyp(const QString& TYP) {
    const QByteArray typ = TYP.toLatin1();
    if (typ.isEmpty() || IsPrintableTyp(typ.front())) {
        return false;
    }
    AfxMessageBox(QString::fromUtf8(RefusalTexts::kTypNotPrintable));
    return true;
}

}  // namespace ParameterFields

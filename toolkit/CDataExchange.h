#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

class CTemplateForm;

// One run of data exchange between a form's controls and the members bound to them.
// Saving: each call reads its control and validates; the first failure shows its message
// (application message box), puts the focus back into the field with its text selected,
// and turns every later call of this run into a no-op. A refused value never reaches the
// member: it keeps its last valid value.
class CDataExchange {
public:
    CDataExchange(CTemplateForm& form, bool saveAndValidate);

    const bool m_bSaveAndValidate;
    bool Failed() const { return failed; }

    // Signed decimal with optional blanks around it; "Tapez un nombre entier." otherwise.
    void Int(int id, int32_t& value);
    // As above, then "Tapez un nombre entier compris entre %1 et %2." outside min..max.
    void Int(int id, int32_t& value, int32_t min, int32_t max);
    // Plain text. Multi-line edits hold CR LF line ends in the member.
    void Text(int id, QString& value);
    // To screen, limits the field to maxChars; from screen, "Tapez %1 caractères au maximum."
    void Text(int id, QString& value, int maxChars);
    // Index of the checked radio button in the group that starts at firstId (-1: none).
    void Radio(int firstId, int32_t& index);

private:
    void IntChecked(int id, int32_t& value, std::optional<std::pair<int32_t, int32_t>> range);
    void Fail(int id, const QString& message);

    CTemplateForm& form;
    bool failed = false;
};

#include "CDataExchange.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <algorithm>
#include <limits>
#include <optional>

#include "CTemplateForm.h"
#include "MessageBoxes.h"
#include "StringTable.h"

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Blanks, an optional sign, decimal digits, blanks. A whole number too large for 32 bits
// comes back just beyond them (so still outside every 32-bit range), not as "no number".
std::optional<int64_t> ParseWhole(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype digitsStart = i;
    int64_t magnitude = 0;
    constexpr int64_t kBeyond = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        magnitude = std::min(magnitude * 10 + (text[i].unicode() - '0'), kBeyond);
        ++i;
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

bool FitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

QString ReadText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        return edit->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return widget->windowTitle();
}

void WriteText(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        QString plain = text;
        edit->setPlainText(plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(combo->findText(text));
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    }
}

void SelectAll(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    }
}

void CheckOnly(const QList<QRadioButton*>& group, int32_t index) {
    for (qsizetype i = 0; i < group.size(); ++i) {
        group[i]->setChecked(i == index);
    }
}

}  // namespace

CDataExchange::CDataExchange(CTemplateForm& form, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), form(form) {}

void CDataExchange::Int(int id, int32_t& value) {
    IntChecked(id, value, std::nullopt);
}

void CDataExchange::Int(int id, int32_t& value, int32_t min, int32_t max) {
    IntChecked(id, value, std::make_pair(min, max));
}

// Without a range a number beyond 32 bits is no whole number; with one it is out of range.
void CDataExchange::IntChecked(int id, int32_t& value,
                               std::optional<std::pair<int32_t, int32_t>> range) {
    QWidget* widget = form.Item(id);
    if (failed || widget == nullptr) {
        return;
    }
    if (!m_bSaveAndValidate) {
        WriteText(widget, QString::number(value));
        return;
    }
    const auto parsed = ParseWhole(ReadText(widget));
    if (!parsed || (!range && !FitsInt32(*parsed))) {
        Fail(id, LoadString(IDS_PARSE_INT));
        return;
    }
    if (range && (*parsed < range->first || *parsed > range->second)) {
        Fail(id, LoadString(IDS_PARSE_INT_RANGE).arg(range->first).arg(range->second));
        return;
    }
    value = static_cast<int32_t>(*parsed);
}

void CDataExchange::Text(int id, QString& value) {
    QWidget* widget = form.Item(id);
    if (failed || widget == nullptr) {
        return;
    }
    if (m_bSaveAndValidate) {
        value = ReadText(widget);
    } else {
        WriteText(widget, value);
    }
}

void CDataExchange::Text(int id, QString& value, int maxChars) {
    QWidget* widget = form.Item(id);
    if (failed || widget == nullptr) {
        return;
    }
    if (!m_bSaveAndValidate) {
        form.LimitText(id, maxChars);
        WriteText(widget, value);
        return;
    }
    const QString text = ReadText(widget);
    if (text.size() > maxChars) {
        Fail(id, LoadString(IDS_PARSE_STRING_SIZE).arg(maxChars));
        return;
    }
    value = text;
}

void CDataExchange::Radio(int firstId, int32_t& index) {
    if (failed) {
        return;
    }
    const QList<QRadioButton*> group = form.RadioGroup(firstId);
    if (!m_bSaveAndValidate) {
        CheckOnly(group, index);
        return;
    }
    index = -1;
    for (qsizetype i = 0; i < group.size(); ++i) {
        if (group[i]->isChecked()) {
            index = static_cast<int32_t>(i);
            break;
        }
    }
}

void CDataExchange::Fail(int id, const QString& message) {
    failed = true;
    AfxMessageBox(message);
    if (QWidget* widget = form.Item(id)) {
        // The message box took the activation; the field's window needs it back for the
        // focus to land.
        widget->window()->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
        SelectAll(widget);
    }
}

#pragma once

#include <QStringList>
#include <cstdint>

#include "CPropertyPage.h"

// A property page with one whole-number field (control 2001, 0 to 9) that writes every
// notification the sheet gives it into a shared log, as "<name>:<event>".
class CRecordingPage : public CPropertyPage {
public:
    static constexpr int kIdValue = 2001;

    CRecordingPage(int templateId, QString name, QStringList* log)
        : CPropertyPage(templateId), name(std::move(name)), log(log) {}

    int32_t value = 0;
    bool consumeEnter = false;
    bool consumeEscape = false;
    int keysSeen = 0;

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    bool PreTranslateKey(QKeyEvent* event) override;

    using CPropertyPage::Form;

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void Log(const char* event);

    QString name;
    QStringList* log;
};

#pragma once

#include <QKeyEvent>
#include <functional>
#include <vector>

#include "CTemplateDialog.h"

// A template dialog whose exchange and key handling the test sets, and which records the
// commands and edit notifications it receives.
class CRecordingDialog : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CRecordingDialog(int templateId) : CTemplateDialog(templateId) {}

    std::function<void(CDataExchange&)> exchange;
    std::function<bool(QKeyEvent*)> preTranslate;
    bool updateOnEdit = false;  // every edit change runs UpdateData(true), as the editors do

    std::vector<int> commands;
    std::vector<int> editChanges;
    int exchangeRuns = 0;
    int initRuns = 0;

    using CTemplateDialog::OnCommand;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnCommand(int id) override;
    void OnEditChange(int id) override;
    bool PreTranslateKey(QKeyEvent* event) override;
};

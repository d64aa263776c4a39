#include "CRecordingDialog.h"

bool CRecordingDialog::OnInitDialog() {
    ++initRuns;
    return CTemplateDialog::OnInitDialog();
}

void CRecordingDialog::DoDataExchange(CDataExchange& dx) {
    ++exchangeRuns;
    if (exchange) {
        exchange(dx);
    }
}

void CRecordingDialog::OnCommand(int id) {
    commands.push_back(id);
    CTemplateDialog::OnCommand(id);
}

void CRecordingDialog::OnEditChange(int id) {
    editChanges.push_back(id);
    if (updateOnEdit) {
        UpdateData(true);
    }
}

bool CRecordingDialog::PreTranslateKey(QKeyEvent* event) {
    return preTranslate ? preTranslate(event) : false;
}

#include "moc_CRecordingDialog.cpp"

#include "CRecordingPage.h"

#include <QKeyEvent>

void CRecordingPage::Log(const char* event) {
    log->append(name + QLatin1Char(':') + QLatin1String(event));
}

bool CRecordingPage::OnInitDialog() {
    Log("init");
    return CPropertyPage::OnInitDialog();
}

bool CRecordingPage::OnSetActive() {
    Log("setactive");
    return CPropertyPage::OnSetActive();
}

bool CRecordingPage::OnKillActive() {
    Log("killactive");
    return CPropertyPage::OnKillActive();
}

bool CRecordingPage::OnApply() {
    Log("apply");
    return CPropertyPage::OnApply();
}

bool CRecordingPage::PreTranslateKey(QKeyEvent* event) {
    ++keysSeen;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return (enter && consumeEnter) || (event->key() == Qt::Key_Escape && consumeEscape);
}

void CRecordingPage::DoDataExchange(CDataExchange& dx) {
    Log(dx.m_bSaveAndValidate ? "save" : "show");
    dx.Int(kIdValue, value, 0, 9);
}

#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "CDataExchange.h"
#include "CTemplateForm.h"
#include "ITemplateClient.h"

class CPropertySheet;
class QKeyEvent;

// A page of a property sheet. The page object may outlive the sheet: its window (and so
// its controls) is created when its tab is first shown and destroyed with the sheet, while
// the members bound to the controls stay with the object.
class CPropertyPage : protected ITemplateClient {
public:
    explicit CPropertyPage(int templateId);
    virtual ~CPropertyPage();
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // The template's caption: the text of the page's tab.
    QString Caption() const;
    // Null while the page has no window.
    QWidget* Window() const;
    bool HasWindow() const { return Window() != nullptr; }
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* Item(int id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    bool UpdateData(bool saveAndValidate = true);
    // true enables the sheet's Apply button.
    void SetModified(bool modified = true);
    bool IsModified() const { return modified; }
    CPropertySheet* Sheet() const { return sheet; }

    // Called by the sheet.
    // Base: members to screen; true.
    virtual bool OnInitDialog();
    // Base: on the first activation of this object nothing, later ones members to screen.
    virtual bool OnSetActive();
    // Base: UpdateData(true); false keeps the page shown.
    virtual bool OnKillActive();
    // Base: true.
    virtual bool OnApply();
    // Every key press inside the page window before its control or the sheet sees it;
    // true consumes it.
    virtual bool PreTranslateKey(QKeyEvent* event);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnCommand(int id) override;
    void OnEditChange(int id) override;
    void RepaintItem(int id);
    CTemplateForm* Form() const { return form.get(); }

private:
    friend class CPropertySheet;
    // The sheet creates the window as a child of its tab widget and then calls OnInitDialog.
    QWidget* CreatePageWindow(CPropertySheet* owner, QWidget* parent);
    void ForgetWindow();
    const DialogTemplate* Template() const;
    // The page window's size, known before the window exists.
    QSize PixelSize() const;

    int templateId;
    CPropertySheet* sheet = nullptr;
    QPointer<QWidget> window;
    std::unique_ptr<CTemplateForm> form;
    bool modified = false;
    bool firstSetActive = true;
    mutable std::optional<DialogTemplate> tmpl;
    mutable bool tmplLoaded = false;
};

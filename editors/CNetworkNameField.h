#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class CEditorJournal;
class CLastNetworkName;
class CMyPropSheet;
class QLineEdit;

// The network's name in the sheet's button row. The name is kept for the next run and goes
// with every exchange the journal records; `changed` is told when the name becomes another.
class CNetworkNameField : public QObject {
    Q_OBJECT
public:
    // `hasRecords` tells whether the network shown has exchanges in the journal.
    CNetworkNameField(CEditorJournal& journal, int32_t repeaterCount,
                      const CLastNetworkName& lastName, std::function<void()> changed,
                      std::function<bool()> hasRecords);

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    // A new name starts another network; the same name keeps it.
    void SetName(const QString& name);
    QString Name() const { return name; }
    QLineEdit* Field() const { return field; }

protected:
    // Enter and Escape in the field stay there: neither sends nor closes the sheet.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnEdited();
    // A named network with records is left only when the user says so; its records stay.
    bool MayLeave(const QString& newName) const;

    CEditorJournal& journal;
    int32_t repeaterCount;
    const CLastNetworkName& lastName;
    std::function<void()> changed;
    std::function<bool()> hasRecords;
    QString name;
    QLineEdit* field = nullptr;
    bool asking = false;
};

#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CEditorJournal;
class CMyPropSheet;
class QPushButton;
class QWidget;

// The choice beside the report button: writes the network as it stands, in the site plan's
// own format, with the values its devices read back, so that it can be imported again.
class CAsBuiltExport : public QObject {
    Q_OBJECT
public:
    // Where the file goes; empty when the user gave up.
    using PathChooser = std::function<QString(QWidget* parent, const QString& suggested)>;

    CAsBuiltExport(CEditorJournal& journal, std::function<QString()> network);

    // Once, when the sheet's window is built, right after the report button.
    void Install(CMyPropSheet& sheet);
    void Save();
    void SetPathChooser(PathChooser chooser);
    QPushButton* Button() const { return button; }

private:
    // True when nothing is at `path` or the user said to replace it.
    bool MayReplace(const QString& path) const;
    QString Caption() const;

    CEditorJournal& journal;
    std::function<QString()> network;
    PathChooser chooser;
    QWidget* window = nullptr;
    QPushButton* button = nullptr;
};

#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CMyPropSheet;
class QPushButton;
class QWidget;

// The sheet's "Plan…" button beside the network's name: reads a site's plan from a file and
// keeps it as the plan of its network, or says every reason it is refused and keeps nothing.
// A plan sets every value a client may not change, so only the administrator imports one.
class CPlanImport : public QObject {
    Q_OBJECT
public:
    // The file to read; empty when the user gave up.
    using FileChooser = std::function<QString(QWidget* parent)>;

    // `plansFolder` is where the plans are kept; `imported` gets the plan's network.
    CPlanImport(std::string plansFolder, std::function<void(const QString&)> imported);

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    void Import();
    void SetFileChooser(FileChooser chooser) { this->chooser = std::move(chooser); }
    QPushButton* Button() const { return button; }

private:
    // The refusal shown, or empty when the plan was kept; `network` gets its network.
    QString ImportFile(const QString& path, QString& network) const;

    std::string plansFolder;
    std::function<void(const QString&)> imported;
    FileChooser chooser;
    CMyPropSheet* sheet = nullptr;
    QPushButton* button = nullptr;
};

#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A dialog template as stored in res/templates/<id>.json: sizes and positions in dialog
// units, controls in template order (which is also the tab order).
struct ControlTemplate {
    enum class Kind {
        PushButton,
        DefPushButton,
        Static,
        Edit,
        ComboBox,
        RadioButton,
        GroupBox,
        Picture,
        Icon
    };
    Kind kind = Kind::Static;
    int id = -1;         // -1: no identifier
    QRect rect;          // dialog units
    QString text;        // caption; for Picture/Icon the resource number as text
    QStringList styles;  // "tabstop", "group", "disabled", "password", "readonly", "multiline",
                         // "center", "vcenter", "border", "sunken", "staticedge", "autohscroll",
                         // "sort", "dropdownlist", "dropdown", "vscroll", "transparent", ...
    bool Has(const QString& style) const { return styles.contains(style); }
};

struct DialogTemplate {
    int id = 0;
    QSize size;  // dialog units
    QString caption;
    QString fontName = "MS Sans Serif";
    int fontPoints = 8;
    QStringList styles;  // "caption", "sysmenu", "modalframe", "3dlook", ...
    QString helpTopic;   // the help guide's page for this dialog; empty: the guide's start
    std::vector<ControlTemplate> controls;

    bool Has(const QString& style) const { return styles.contains(style); }

    // Reads ":/templates/<id>.json"; nothing when it is missing or malformed.
    static std::optional<DialogTemplate> Load(int id);
    static std::optional<DialogTemplate> FromJson(const QByteArray& json);
};

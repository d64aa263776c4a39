#include "DialogTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<ControlTemplate::Kind> KindFromName(const QString& name) {
    using Kind = ControlTemplate::Kind;
    static const std::pair<const char*, Kind> kKinds[] = {
        {"button", Kind::PushButton}, {"defbutton", Kind::DefPushButton},
        {"static", Kind::Static},     {"edit", Kind::Edit},
        {"combobox", Kind::ComboBox}, {"radio", Kind::RadioButton},
        {"groupbox", Kind::GroupBox}, {"picture", Kind::Picture},
        {"icon", Kind::Icon},
    };
    for (const auto& [text, kind] : kKinds) {
        if (name == QLatin1String(text)) {
            return kind;
        }
    }
    return std::nullopt;
}

bool IsInt(const QJsonValue& value) {
    return value.isDouble() && value.toDouble() == static_cast<double>(value.toInt());
}

std::optional<QStringList> ReadStyles(const QJsonObject& object) {
    const QJsonValue value = object.value("styles");
    if (value.isUndefined()) {
        return QStringList{};
    }
    if (!value.isArray()) {
        return std::nullopt;
    }
    QStringList styles;
    for (const QJsonValue& style : value.toArray()) {
        if (!style.isString()) {
            return std::nullopt;
        }
        styles << style.toString();
    }
    return styles;
}

std::optional<ControlTemplate> ReadControl(const QJsonValue& value) {
    if (!value.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const auto kind = KindFromName(object.value("kind").toString());
    const auto styles = ReadStyles(object);
    if (!kind || !styles) {
        return std::nullopt;
    }
    for (const char* key : {"id", "x", "y", "w", "h"}) {
        if (!IsInt(object.value(key))) {
            return std::nullopt;
        }
    }
    const QJsonValue text = object.value("text");
    if (!text.isUndefined() && !text.isString()) {
        return std::nullopt;
    }
    ControlTemplate control;
    control.kind = *kind;
    control.id = object.value("id").toInt();
    control.rect = QRect(object.value("x").toInt(), object.value("y").toInt(),
                         object.value("w").toInt(), object.value("h").toInt());
    control.text = text.toString();
    control.styles = *styles;
    return control;
}

}  // namespace

std::optional<DialogTemplate> DialogTemplate::Load(int id) {
    QFile file(QStringLiteral(":/templates/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return FromJson(file.readAll());
}

std::optional<DialogTemplate> DialogTemplate::FromJson(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    for (const char* key : {"id", "width", "height"}) {
        if (!IsInt(object.value(key))) {
            return std::nullopt;
        }
    }
    const auto styles = ReadStyles(object);
    const QJsonValue controls = object.value("controls");
    if (!styles || !(controls.isArray() || controls.isUndefined())) {
        return std::nullopt;
    }
    DialogTemplate tmpl;
    tmpl.id = object.value("id").toInt();
    tmpl.size = QSize(object.value("width").toInt(), object.value("height").toInt());
    tmpl.caption = object.value("caption").toString();
    tmpl.fontName = object.value("font").toString(tmpl.fontName);
    tmpl.fontPoints = object.value("points").toInt(tmpl.fontPoints);
    tmpl.styles = *styles;
    tmpl.helpTopic = object.value("help").toString();
    if (tmpl.size.width() < 0 || tmpl.size.height() < 0 || tmpl.fontPoints <= 0) {
        return std::nullopt;
    }
    for (const QJsonValue& value : controls.toArray()) {
        auto control = ReadControl(value);
        if (!control) {
            return std::nullopt;
        }
        tmpl.controls.push_back(*control);
    }
    return tmpl;
}

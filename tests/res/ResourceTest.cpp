#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>

#include "Parameters.h"
#include "version.h"

namespace {

QJsonObject ReadObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    return error.error == QJsonParseError::NoError ? doc.object() : QJsonObject{};
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 Le16(const QByteArray& bytes, int offset) {
    return quint16(quint8(bytes[offset]) | quint8(bytes[offset + 1]) << 8);
}

// The classic 16-colour palette in its usual order.
QList<QRgb> ClassicPalette() {
    const int levels[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                               {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    QList<QRgb> palette;
    for (const auto& c : levels) {
        palette << qRgb(c[0], c[1], c[2]);
    }
    return palette;
}

using IdList = QList<int>;

}  // namespace

class ResourceTest : public QObject {
    Q_OBJECT

private slots:
    void templateShape_data();
    void templateShape();
    void templateControlsAreWellFormed_data();
    void templateControlsAreWellFormed();
    void templateKeyTexts_data();
    void templateKeyTexts();
    void stringTable_data();
    void stringTable();
    void stringTableRefusesAsTheParametersDo_data();
    void stringTableRefusesAsTheParametersDo();
    void versionRecordAgrees();
    void bitmaps_data();
    void bitmaps();
    void tabImagesKeepTheirKeyColourOutside_data();
    void tabImagesKeepTheirKeyColourOutside();
    void icons_data();
    void icons();
    void desktopIconMatchesProgramIcon();
};

const QList<int> kTemplateIds = {100, 102, 129, 139, 140, 148, 151};

void ResourceTest::templateShape_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("dialogStyles");
    QTest::addColumn<IdList>("controlIds");
    QTest::addColumn<int>("defaultButton");

    const QStringList pageStyles = {"child", "caption"};
    QTest::newRow("100 about box")
        << 100 << QSize(235, 55) << QString("A propos de Zav7305")
        << QStringList{"popup", "caption", "sysmenu", "modalframe"} << IdList{-1, -1, 1} << 1;
    QTest::newRow("102 custom configuration")
        << 102 << QSize(256, 129) << QString::fromUtf8("Zav7305 : Configuration personnalisée ")
        << QStringList{"popup", "caption", "sysmenu", "modalframe", "appwindow"}
        << IdList{57670, -1,   -1,   -1, -1,   -1,   -1,   1005, 1006, 1010,
                  1011,  1012, 1013, -1, 1014, 1015, 1017, 1019, 1020, 1030}
        << 1015;
    QTest::newRow("129 setup") << 129 << QSize(282, 131) << QString()
                               << QStringList{"popup", "modalframe", "3dlook"}
                               << IdList{1,    2,  -1,   1000, 1003, 1004, -1,  -1,
                                         1005, -1, 1006, -1,   -1,   1015, 1017}
                               << 1;
    QTest::newRow("139 sensor page")
        << 139 << QSize(217, 121) << QString::fromUtf8("       Capteur      ") << pageStyles
        << IdList{-1, -1, -1, -1, -1, -1, 1005, 1010, 1011, 1012, 1013, 1006, -1, 1016, 1030} << 0;
    QTest::newRow("140 repeater page")
        << 140 << QSize(214, 121) << QString::fromUtf8("       Répéteur      ") << pageStyles
        << IdList{-1, -1, -1, -1, -1, -1, 1005, 1010, 1011, 1012, 1013, 1006, -1, 1016, 1030} << 0;
    QTest::newRow("148 login") << 148 << QSize(133, 68) << QString("Zav7305 : Login  ")
                               << QStringList{"popup", "caption", "sysmenu", "modalframe"}
                               << IdList{2, -1, -1, 1006, 1000, 1015} << 1015;
    QTest::newRow("151 modem page")
        << 151 << QSize(215, 119) << QString("        Modem      ") << pageStyles
        << IdList{1003, 1004, 1005, 1006, 1007, 1008, 1010, 1011,
                  1012, 1013, 1014, 1015, -1,   1016, 1023, 1030}
        << 0;
}

void ResourceTest::templateShape() {
    QFETCH(int, id);
    QFETCH(QSize, size);
    QFETCH(QString, caption);
    QFETCH(QStringList, dialogStyles);
    QFETCH(IdList, controlIds);
    QFETCH(int, defaultButton);

    const QJsonObject tpl = ReadObject(QString(":/templates/%1.json").arg(id));
    QVERIFY2(!tpl.isEmpty(), "template missing or not valid JSON");
    QCOMPARE(tpl["id"].toInt(), id);
    QCOMPARE(QSize(tpl["width"].toInt(), tpl["height"].toInt()), size);
    QCOMPARE(tpl["caption"].toString(), caption);
    QCOMPARE(tpl["font"].toString(), QString("MS Sans Serif"));
    QCOMPARE(tpl["points"].toInt(), 8);

    QStringList styles;
    for (const QJsonValue& s : tpl["styles"].toArray()) {
        styles << s.toString();
    }
    QCOMPARE(styles, dialogStyles);

    IdList ids;
    IdList defaults;
    for (const QJsonValue& value : tpl["controls"].toArray()) {
        const QJsonObject control = value.toObject();
        ids << control["id"].toInt(-2);
        if (control["kind"].toString() == "defbutton") {
            defaults << control["id"].toInt();
        }
    }
    QCOMPARE(ids, controlIds);
    QCOMPARE(defaults, defaultButton == 0 ? IdList{} : IdList{defaultButton});
}

void ResourceTest::templateControlsAreWellFormed_data() {
    QTest::addColumn<int>("id");
    for (int id : kTemplateIds) {
        QTest::newRow(qPrintable(QString::number(id))) << id;
    }
}

// Catches misspelt kinds and styles (which the toolkit would silently ignore) and rectangles
// that a transcription slip has pushed outside the dialog.
void ResourceTest::templateControlsAreWellFormed() {
    QFETCH(int, id);
    static const QSet<QString> kinds = {"button", "defbutton", "static",  "edit", "combobox",
                                        "radio",  "groupbox",  "picture", "icon"};
    static const QSet<QString> styles = {
        "tabstop",     "group",   "disabled",     "password", "readonly", "multiline",
        "center",      "vcenter", "border",       "noborder", "sunken",   "staticedge",
        "autohscroll", "sort",    "dropdownlist", "dropdown", "vscroll",  "disablenoscroll",
        "transparent", "raised",  "realsize",     "noprefix"};

    const QJsonObject tpl = ReadObject(QString(":/templates/%1.json").arg(id));
    const QRect dialog(0, 0, tpl["width"].toInt(), tpl["height"].toInt());
    QSet<int> seen;
    for (const QJsonValue& value : tpl["controls"].toArray()) {
        const QJsonObject control = value.toObject();
        const QString kind = control["kind"].toString();
        const int controlId = control["id"].toInt(-2);
        QVERIFY2(kinds.contains(kind), qPrintable(kind));
        QVERIFY2(controlId >= -1, "control without a valid id");
        QVERIFY2(controlId == -1 || !seen.contains(controlId), "duplicate control id");
        seen.insert(controlId);
        for (const QJsonValue& style : control["styles"].toArray()) {
            QVERIFY2(styles.contains(style.toString()), qPrintable(style.toString()));
        }
        // A combo box's height includes its drop-down list, which may overhang the dialog.
        const int shownHeight = kind == "combobox" ? 1 : control["h"].toInt();
        const QRect rect(control["x"].toInt(), control["y"].toInt(), control["w"].toInt(),
                         shownHeight);
        QVERIFY2(rect.isValid() && dialog.contains(rect),
                 qPrintable(QString("control %1 outside the dialog").arg(controlId)));
        QVERIFY2(control.contains("text") && control["text"].isString(), "text missing");
    }
}

void ResourceTest::templateKeyTexts_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("styles");

    QTest::newRow("about version text")
        << 100 << 1 << QString("Zav7305 version 1.4") << QStringList{"noprefix"};
    QTest::newRow("about icon") << 100 << 0 << QString("143") << QStringList{};
    QTest::newRow("custom help first in tab order")
        << 102 << 0 << QString("&Aide") << QStringList{"tabstop"};
    QTest::newRow("custom status box title")
        << 102 << 13 << QString::fromUtf8("Etat des paramètres ") << QStringList{"center"};
    QTest::newRow("custom PRT mnemonic")
        << 102 << 5 << QString("P&RT") << QStringList{"center", "vcenter", "sunken", "group"};
    QTest::newRow("setup port label") << 129 << 2 << QString::fromUtf8("Port Série")
                                      << QStringList{"center", "vcenter", "border", "group"};
    QTest::newRow("setup custom mode starts group")
        << 129 << 4 << QString::fromUtf8("Personnalisé") << QStringList{"group", "tabstop"};
    QTest::newRow("setup repeater count disabled")
        << 129 << 8 << QString()
        << QStringList{"center", "border", "autohscroll", "tabstop", "disabled"};
    QTest::newRow("setup picture") << 129 << 11 << QString("135")
                                   << QStringList{"sunken", "center", "realsize", "transparent"};
    QTest::newRow("sensor status title")
        << 139 << 12 << QString::fromUtf8("Etat des paramètres") << QStringList{"center"};
    QTest::newRow("repeater status title")
        << 140 << 12 << QString::fromUtf8("Etat des paramètres") << QStringList{"center"};
    QTest::newRow("login password field")
        << 148 << 3 << QString() << QStringList{"password", "autohscroll", "border", "tabstop"};
    QTest::newRow("login identity list")
        << 148 << 4 << QString()
        << QStringList{"dropdownlist", "sort", "disablenoscroll", "vscroll", "tabstop"};
    QTest::newRow("modem radio without tab stop")
        << 151 << 4 << QString("TYPE") << QStringList{"group"};
    QTest::newRow("modem field disabled")
        << 151 << 10 << QString()
        << QStringList{"disabled", "center", "autohscroll", "staticedge", "noborder", "tabstop"};
    QTest::newRow("modem status title")
        << 151 << 12 << QString::fromUtf8("Etat des paramétres") << QStringList{"center"};
}

void ResourceTest::templateKeyTexts() {
    QFETCH(int, id);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QStringList, styles);

    const QJsonArray controls =
        ReadObject(QString(":/templates/%1.json").arg(id))["controls"].toArray();
    QVERIFY(index < controls.size());
    const QJsonObject control = controls.at(index).toObject();
    QCOMPARE(control["text"].toString(), text);
    QStringList actual;
    for (const QJsonValue& s : control["styles"].toArray()) {
        actual << s.toString();
    }
    actual.sort();
    styles.sort();
    QCOMPARE(actual, styles);
}

void ResourceTest::stringTable_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("system menu") << "101" << QString("&A propos de DevOv7305...");
    QTest::newRow("not an integer") << "61704" << QString("Tapez un nombre entier.");
    QTest::newRow("out of range") << "61705"
                                  << QString("Tapez un nombre entier compris entre %1 et %2.");
    QTest::newRow("too long") << "61708" << QString::fromUtf8("Tapez %1 caractères au maximum.");
}

void ResourceTest::stringTable() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    const QJsonObject table = ReadObject(":/strings.json");
    QCOMPARE(table.size(), 4);
    QCOMPARE(table[key].toString(), text);
}

// The form's validation and the command line refuse a value in the same words.
void ResourceTest::stringTableRefusesAsTheParametersDo_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("not an integer") << "61704" << QString::fromUtf8(RefusalTexts::kNotInteger);
    QTest::newRow("out of range") << "61705" << QString::fromUtf8(RefusalTexts::kOutOfRange);
    QTest::newRow("too long") << "61708" << QString::fromUtf8(RefusalTexts::kTooLong);
}

void ResourceTest::stringTableRefusesAsTheParametersDo() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QCOMPARE(ReadObject(":/strings.json")[key].toString(), text);
}

// The desktop record and the header are written by hand; a release bumped in one and not the
// other would show two versions to the user.
void ResourceTest::versionRecordAgrees() {
    QXmlStreamReader xml(ReadText(ZAV_RES_SOURCE_DIR "/org.zav7305.Zav7305.metainfo.xml"));
    QStringList releases;
    QMap<QString, QString> custom;
    QString id;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"id") {
            id = xml.readElementText();
        } else if (xml.name() == u"release") {
            releases << xml.attributes().value("version").toString();
        } else if (xml.name() == u"value") {
            const QString key = xml.attributes().value("key").toString();
            custom[key] = xml.readElementText();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(id, QString(zav::version::kApplicationId));
    QCOMPARE(releases, QStringList{ZAV_VERSION});
    QCOMPARE(QString(ZAV_VERSION), QString("1.4.0.0"));
    QCOMPARE(custom["FileDescription"], QString(zav::version::kFileDescription));
    QCOMPARE(custom["ProductName"], QString(zav::version::kProductName));
    QCOMPARE(custom["InternalName"], QString(zav::version::kInternalName));
    QCOMPARE(custom["OriginalFilename"], QString(zav::version::kOriginalFilename));
    QCOMPARE(custom["FileVersion"], QString(zav::version::kFileVersionText));
    QCOMPARE(custom["ProductVersion"], QString(zav::version::kProductVersionText));

    const QStringList desktop =
        ReadText(ZAV_RES_SOURCE_DIR "/org.zav7305.Zav7305.desktop").split('\n');
    QVERIFY(desktop.contains("Name=Zav7305"));
    QVERIFY(desktop.contains("Exec=Zav7305"));
    QVERIFY(desktop.contains(QString("Icon=") + zav::version::kApplicationId));
}

void ResourceTest::bitmaps_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("135 network scene") << ":/bitmaps/135.bmp" << QSize(102, 61);
    QTest::newRow("146 repeater tab") << ":/bitmaps/146.bmp" << QSize(15, 12);
    QTest::newRow("147 sensor tab") << ":/bitmaps/147.bmp" << QSize(15, 12);
    QTest::newRow("154 modem tab") << ":/bitmaps/154.bmp" << QSize(15, 12);
}

void ResourceTest::bitmaps() {
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QByteArray bytes = ReadBytes(path);
    QVERIFY2(bytes.size() > 54 && bytes.startsWith("BM"), "not a bitmap file");
    QCOMPARE(int(Le16(bytes, 28)), 4);  // bits per pixel in the info header

    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    QCOMPARE(image.colorTable(), ClassicPalette());
}

void ResourceTest::tabImagesKeepTheirKeyColourOutside_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QColor>("key");
    QTest::newRow("146 on white") << ":/bitmaps/146.bmp" << QColor(255, 255, 255);
    QTest::newRow("147 on light grey") << ":/bitmaps/147.bmp" << QColor(192, 192, 192);
    QTest::newRow("154 on light grey") << ":/bitmaps/154.bmp" << QColor(192, 192, 192);
}

// The tab shows the left 13 columns with the key colour made transparent: drawn on the wrong
// background the tab would show a coloured block, and drawn outside the 13 columns it would
// show nothing.
void ResourceTest::tabImagesKeepTheirKeyColourOutside() {
    QFETCH(QString, path);
    QFETCH(QColor, key);

    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    int background = 0;
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool isKey = image.pixel(x, y) == key.rgb();
            if (x >= 13) {
                QVERIFY2(isKey,
                         qPrintable(QString("pixel %1,%2 beyond the tab image").arg(x).arg(y)));
            } else {
                (isKey ? background : drawn) += 1;
            }
        }
    }
    QVERIFY2(background >= 13 * 12 / 5, "too little transparent background");
    QVERIFY2(drawn >= 13 * 12 / 5, "too little drawn in the shown columns");
}

void ResourceTest::icons_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("128 program icon") << ":/icons/128.ico";
    QTest::newRow("143 about and editor icon") << ":/icons/143.ico";
}

void ResourceTest::icons() {
    QFETCH(QString, path);

    const QByteArray bytes = ReadBytes(path);
    QVERIFY(bytes.size() > 6 + 2 * 16);
    QCOMPARE(int(Le16(bytes, 2)), 1);  // icon, not cursor
    QCOMPARE(int(Le16(bytes, 4)), 2);  // two images
    for (int entry = 0; entry < 2; ++entry) {
        const int at = 6 + 16 * entry;
        QCOMPARE(int(quint8(bytes[at + 2])), 16);  // colour count
        QCOMPARE(int(Le16(bytes, at + 6)), 4);     // bits per pixel
    }

    QImageReader reader(path);
    QCOMPARE(reader.imageCount(), 2);
    QList<int> widths;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        widths << image.width();
        // The AND mask must cut the pictogram out of its square.
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, image.height() / 2)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() - 3)), 255);
    }
    std::sort(widths.begin(), widths.end());
    QCOMPARE(widths, (QList<int>{16, 32}));

    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

// The desktop icon is a PNG copy of icon 128 for the icon theme; it must not go stale when
// the drawing changes.
void ResourceTest::desktopIconMatchesProgramIcon() {
    QImageReader reader(":/icons/128.ico");
    for (int size : {32, 16}) {
        QVERIFY(reader.jumpToImage(size == 32 ? 0 : 1));
        const QImage fromIco = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage fromPng =
            QImage(QString(ZAV_RES_SOURCE_DIR "/icons/hicolor/%1x%1/apps/org.zav7305.Zav7305.png")
                       .arg(size))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(fromIco.size(), QSize(size, size));
        QCOMPARE(fromPng, fromIco);
    }
    // The larger theme sizes enlarge the 32 px drawing: whole multiples pixel for pixel, and
    // 48 px smoothed, so it is only checked for its size.
    QVERIFY(reader.jumpToImage(0));
    const QImage drawing = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int size : {48, 64, 128, 256}) {
        const QImage fromPng =
            QImage(QString(ZAV_RES_SOURCE_DIR "/icons/hicolor/%1x%1/apps/org.zav7305.Zav7305.png")
                       .arg(size))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(fromPng.size(), QSize(size, size));
        if (size % 32 == 0) {
            QCOMPARE(fromPng.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                     drawing);
        }
    }
}

QTEST_MAIN(ResourceTest)
#include "ResourceTest.moc"

#include "XlsxReader.h"

#include <zip.h>

#include <QByteArray>
#include <QXmlStreamReader>
#include <map>
#include <memory>
#include <vector>

#include "NumberText.h"
#include "platform/Translate.h"
#include "workbook/Workbook.h"

namespace workbook {

namespace {

struct ZipDiscard {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

// "the workbook is damaged (<what>)"; `what` is already in the user's language
// or the reader's own text.
std::string Damaged(const std::string& what) {
    return vt::Translate("workbook",
                         QT_TRANSLATE_NOOP("workbook", "통합 문서가 손상되었습니다 (%1)"), {what});
}

enum class Part { Found, Missing, Failed };

// One part of the package, unpacked whole (CRC checked at its end).
Part ReadPart(zip_t* zip, const std::string& name, QByteArray& out, std::string& error) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip, name.c_str(), ZIP_FL_NOCASE, &st) != 0)
        return Part::Missing;
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPartBytes) {
        error = Damaged(vt::Translate(
            "workbook", QT_TRANSLATE_NOOP("workbook", "%1이(가) 너무 큽니다"), {name}));
        return Part::Failed;
    }
    zip_file_t* f = zip_fopen_index(zip, st.index, 0);
    if (!f) {
        error = Damaged(name + ": " + zip_strerror(zip));
        return Part::Failed;
    }
    out.resize(static_cast<qsizetype>(st.size));
    zip_uint64_t done = 0;
    bool ok = true;
    while (done < st.size) {
        const zip_int64_t n = zip_fread(f, out.data() + done, st.size - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<zip_uint64_t>(n);
    }
    char probe;
    // Reading past the end makes the library compare the checksum.
    if (ok && zip_fread(f, &probe, 1) != 0)
        ok = false;
    zip_fclose(f);
    if (!ok) {
        error = Damaged(vt::Translate(
            "workbook", QT_TRANSLATE_NOOP("workbook", "%1을(를) 풀 수 없습니다"), {name}));
        return Part::Failed;
    }
    return Part::Found;
}

// Texts of the format may carry characters as "_xHHHH_".
std::string DecodeEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text.toStdString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out.toStdString();
}

bool IsRelationshipId(const QXmlStreamAttribute& a) {
    return a.name() == QLatin1String("id") &&
           a.namespaceUri().endsWith(QLatin1String("/relationships"));
}

// The text of a string item (<si> or <is>): its <t> runs, without the
// phonetic runs (<rPh>). The reader stands on the item's start.
QString ReadStringItem(QXmlStreamReader& xml) {
    QString text;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("t"))
                text += xml.readElementText(QXmlStreamReader::SkipChildElements);
            else if (xml.name() == QLatin1String("rPh"))
                xml.skipCurrentElement();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                break;
            --depth;
        }
    }
    return text;
}

struct Styles {
    std::vector<CellStyle> xfs;  // by cellXfs index
};

Styles ReadStyles(const QByteArray& data) {
    QXmlStreamReader xml(data);
    std::map<int, bool> textFormats;  // custom number formats that are "@"
    std::vector<bool> fontBold;
    Styles styles;
    QString section;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        const auto attrs = xml.attributes();
        if (name == QLatin1String("fonts") || name == QLatin1String("cellXfs") ||
            name == QLatin1String("cellStyleXfs") || name == QLatin1String("dxfs") ||
            name == QLatin1String("numFmts")) {
            section = name.toString();
        } else if (name == QLatin1String("numFmt") && section == QLatin1String("numFmts")) {
            textFormats[attrs.value(QLatin1String("numFmtId")).toInt()] =
                attrs.value(QLatin1String("formatCode")) == QLatin1String("@");
        } else if (name == QLatin1String("font") && section == QLatin1String("fonts")) {
            fontBold.push_back(false);
        } else if (name == QLatin1String("b") && section == QLatin1String("fonts") &&
                   !fontBold.empty()) {
            const auto val = attrs.value(QLatin1String("val"));
            fontBold.back() =
                val.isEmpty() || val == QLatin1String("1") || val == QLatin1String("true");
        } else if (name == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
            const int fmt = attrs.value(QLatin1String("numFmtId")).toInt();
            const int font = attrs.value(QLatin1String("fontId")).toInt();
            CellStyle s;
            s.text = fmt == 49 || (textFormats.count(fmt) && textFormats[fmt]);
            s.bold = font >= 0 && font < static_cast<int>(fontBold.size()) && fontBold[font];
            styles.xfs.push_back(s);
        }
    }
    return styles;  // a damaged style part only loses the styles
}

// "BC12" -> column 55, row 12. False for anything else.
bool ParseReference(QStringView ref, int& row, int& column) {
    qsizetype i = 0;
    int c = 0;
    while (i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z' && i < 3) {
        c = c * 26 + (ref[i].unicode() - u'A' + 1);
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    int r = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < u'0' || ref[i] > u'9' || r > Sheet::kMaxRows)
            return false;
        r = r * 10 + (ref[i].unicode() - u'0');
    }
    row = r;
    column = c;
    return r >= 1 && r <= Sheet::kMaxRows && c <= Sheet::kMaxColumns;
}

bool ReadWorksheet(const QByteArray& data, const std::vector<std::string>& shared,
                   const Styles& styles, Sheet& sheet, std::string& error) {
    QXmlStreamReader xml(data);
    int row = 0, column = 0;
    bool inData = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("sheetData"))
            inData = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("sheetData")) {
            inData = true;
            continue;
        }
        if (!inData)
            continue;
        const auto attrs = xml.attributes();
        if (xml.name() == QLatin1String("row")) {
            const auto r = attrs.value(QLatin1String("r"));
            row = r.isEmpty() ? row + 1 : r.toInt();
            column = 0;
            if (row < 1 || row > Sheet::kMaxRows) {
                error = Damaged(vt::Translate(
                    "workbook", QT_TRANSLATE_NOOP("workbook", "행 번호가 범위를 벗어났습니다")));
                return false;
            }
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        const auto ref = attrs.value(QLatin1String("r"));
        if (ref.isEmpty()) {
            ++column;
        } else if (!ParseReference(ref, row, column)) {
            error =
                Damaged(vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "잘못된 셀 참조")));
            return false;
        }
        if (row < 1 || column < 1 || column > Sheet::kMaxColumns) {
            error =
                Damaged(vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "시트 밖의 셀")));
            return false;
        }
        const QString type = attrs.value(QLatin1String("t")).toString();
        const auto styleAttr = attrs.value(QLatin1String("s"));
        QString value;
        bool hasInline = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
            } else if (xml.name() == QLatin1String("is")) {
                value = ReadStringItem(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        std::string text;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const qlonglong index = value.toLongLong(&ok);
            if (!value.isEmpty()) {
                if (!ok || index < 0 || index >= static_cast<qlonglong>(shared.size())) {
                    error = Damaged(vt::Translate(
                        "workbook", QT_TRANSLATE_NOOP("workbook", "공유 문자열이 없습니다")));
                    return false;
                }
                text = shared[static_cast<size_t>(index)];
            }
        } else if (type == QLatin1String("inlineStr") || hasInline) {
            text = DecodeEscapes(value);
        } else if (type == QLatin1String("b")) {
            if (!value.isEmpty())
                text = value.trimmed() == QLatin1String("1") ? "TRUE" : "FALSE";
        } else if (type == QLatin1String("str") || type == QLatin1String("e") ||
                   type == QLatin1String("d")) {
            text = DecodeEscapes(value);
        } else {
            text = StoredNumberText(value.trimmed().toStdString());
        }
        sheet.SetText(row, column, std::move(text));
        if (!styleAttr.isEmpty()) {
            const int s = styleAttr.toInt();
            if (s >= 0 && s < static_cast<int>(styles.xfs.size()))
                sheet.SetStyle(row, column, styles.xfs[s]);
        }
    }
    if (xml.hasError()) {
        error = Damaged(xml.errorString().toStdString());
        return false;
    }
    return true;
}

// A relationship target relative to the workbook part's folder "xl/".
std::string ResolveTarget(const QString& target) {
    std::string t = target.toStdString();
    if (!t.empty() && t[0] == '/')
        return t.substr(1);
    std::string base = "xl/";
    while (t.rfind("../", 0) == 0) {
        t = t.substr(3);
        base.clear();
    }
    return base + t;
}

}  // namespace

bool ReadXlsx(const std::filesystem::path& file, Workbook& book, std::string& error) {
    int code = 0;
    ZipHandle zip(zip_open(file.c_str(), ZIP_RDONLY, &code));
    if (!zip) {
        error = Damaged(vt::Translate(
            "workbook", QT_TRANSLATE_NOOP("workbook", "읽을 수 있는 zip 패키지가 아닙니다")));
        return false;
    }
    QByteArray workbookXml, relsXml, sharedXml, stylesXml;
    Part p = ReadPart(zip.get(), "xl/workbook.xml", workbookXml, error);
    if (p == Part::Missing)
        error = vt::Translate(
            "workbook",
            QT_TRANSLATE_NOOP("workbook", "%1은(는) zip 파일이지만 Excel 통합 문서가 아닙니다"),
            {file.filename().string()});
    if (p != Part::Found)
        return false;
    if (ReadPart(zip.get(), "xl/_rels/workbook.xml.rels", relsXml, error) != Part::Found) {
        if (error.empty())
            error = Damaged(vt::Translate(
                "workbook", QT_TRANSLATE_NOOP("workbook", "통합 문서 관계가 없습니다")));
        return false;
    }
    if (ReadPart(zip.get(), "xl/sharedStrings.xml", sharedXml, error) == Part::Failed)
        return false;
    if (ReadPart(zip.get(), "xl/styles.xml", stylesXml, error) == Part::Failed)
        return false;

    // Relationship id -> worksheet part (chart sheets are not worksheets).
    std::map<QString, std::string> worksheetParts;
    {
        QXmlStreamReader xml(relsXml);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement ||
                xml.name() != QLatin1String("Relationship"))
                continue;
            const auto a = xml.attributes();
            if (a.value(QLatin1String("Type")).endsWith(QLatin1String("/worksheet")))
                worksheetParts[a.value(QLatin1String("Id")).toString()] =
                    ResolveTarget(a.value(QLatin1String("Target")).toString());
        }
        if (xml.hasError()) {
            error = Damaged(vt::Translate("workbook",
                                          QT_TRANSLATE_NOOP("workbook", "통합 문서 관계: %1"),
                                          {xml.errorString().toStdString()}));
            return false;
        }
    }

    std::vector<std::string> shared;
    if (!sharedXml.isEmpty()) {
        QXmlStreamReader xml(sharedXml);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("si"))
                shared.push_back(DecodeEscapes(ReadStringItem(xml)));
        }
        if (xml.hasError()) {
            error =
                Damaged(vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "공유 문자열: %1"),
                                      {xml.errorString().toStdString()}));
            return false;
        }
    }
    const Styles styles = ReadStyles(stylesXml);

    QXmlStreamReader xml(workbookXml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("sheet"))
            continue;
        const auto attrs = xml.attributes();
        QString id;
        for (const auto& a : attrs)
            if (IsRelationshipId(a))
                id = a.value().toString();
        const auto part = worksheetParts.find(id);
        if (part == worksheetParts.end())
            continue;
        QByteArray data;
        if (ReadPart(zip.get(), part->second, data, error) != Part::Found) {
            if (error.empty())
                error = Damaged(vt::Translate("workbook",
                                              QT_TRANSLATE_NOOP("workbook", "%1이(가) 없습니다"),
                                              {part->second}));
            return false;
        }
        Sheet& sheet = book.AddSheet(attrs.value(QLatin1String("name")).toString().toStdString());
        if (!ReadWorksheet(data, shared, styles, sheet, error))
            return false;
    }
    if (xml.hasError()) {
        error = Damaged(xml.errorString().toStdString());
        return false;
    }
    if (book.SheetCount() == 0) {
        error = Damaged(
            vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "워크시트가 없습니다")));
        return false;
    }
    return true;
}

}  // namespace workbook

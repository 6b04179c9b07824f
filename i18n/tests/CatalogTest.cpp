// Every Qt Linguist catalog of the project is complete: each Korean source
// text has an English translation, none is unfinished, obsolete or empty,
// and the catalog is current (lupdate over its sources adds nothing new).

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

struct Catalog {
    fs::path ts;
    std::vector<std::string> sources;
};

std::vector<Catalog> Catalogs() {
    std::vector<Catalog> all;
    std::ifstream in(VT_CATALOG_MANIFEST);
    std::string line;
    while (std::getline(in, line)) {
        const auto bar = line.find('|');
        if (bar == std::string::npos)
            continue;
        Catalog c{line.substr(0, bar), {}};
        std::string rest = line.substr(bar + 1);
        for (std::size_t start = 0; start <= rest.size();) {
            const auto comma = rest.find(',', start);
            const auto end = comma == std::string::npos ? rest.size() : comma;
            if (end > start)
                c.sources.push_back(rest.substr(start, end - start));
            start = end + 1;
        }
        all.push_back(c);
    }
    return all;
}

struct Entries {
    int translated = 0;
    std::vector<std::string> problems;  // "<why>: <source text>"
    bool readable = false;
};

// Reads a .ts file: every message with a finished, non-empty translation
// counts; anything else is a problem.
Entries Read(const fs::path& file) {
    Entries e;
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly))
        return e;
    QXmlStreamReader xml(&f);
    QString source, type, translation;
    bool inMessage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"message") {
            inMessage = true;
            source.clear();
            type.clear();
            translation.clear();
        } else if (inMessage && xml.isStartElement() && xml.name() == u"source") {
            source = xml.readElementText();
        } else if (inMessage && xml.isStartElement() && xml.name() == u"translation") {
            type = xml.attributes().value(QStringLiteral("type")).toString();
            translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement() && xml.name() == u"message") {
            inMessage = false;
            std::string why;
            if (!type.isEmpty())
                why = type.toStdString();
            else if (translation.trimmed().isEmpty())
                why = "empty";
            if (why.empty())
                ++e.translated;
            else
                e.problems.push_back(why + ": " + source.toStdString());
        }
    }
    e.readable = !xml.hasError();
    return e;
}

std::string List(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines) all += "  " + l + "\n";
    return all;
}

TEST(CatalogTest, EveryCatalogIsCompleteAndCurrent) {
    const auto catalogs = Catalogs();
    ASSERT_FALSE(catalogs.empty()) << "no catalog in " << VT_CATALOG_MANIFEST;
    vt::test::TestEnvironment env;
    for (const Catalog& c : catalogs) {
        SCOPED_TRACE(c.ts.string());
        const Entries inTree = Read(c.ts);
        ASSERT_TRUE(inTree.readable);
        EXPECT_GT(inTree.translated, 0);
        EXPECT_TRUE(inTree.problems.empty()) << List(inTree.problems);

        // A copy brought up to date with the sources: a text added to the
        // code but not to the catalog arrives unfinished, one removed from
        // the code turns vanished.
        const fs::path copy = env.Root() / c.ts.filename();
        fs::copy_file(c.ts, copy, fs::copy_options::overwrite_existing);
        QStringList args{"-silent", "-source-language", "ko",  "-target-language",
                         "en",      "-locations",       "none"};
        for (const auto& s : c.sources) args << QString::fromStdString(s);
        args << "-ts" << QString::fromStdString(copy.string());
        QProcess lupdate;
        lupdate.start(QStringLiteral(VT_LUPDATE), args);
        ASSERT_TRUE(lupdate.waitForFinished(60000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        const Entries current = Read(copy);
        EXPECT_EQ(current.translated, inTree.translated);
        EXPECT_TRUE(current.problems.empty()) << List(current.problems);
    }
}

}  // namespace

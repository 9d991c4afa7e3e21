// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Themes: the handle and the tree it owns, the description parser, themes made from what it read,
// the built-in theme and previews; and what others can put where the library reads: files nested
// without end, FIFOs, devices and directories named as images, text whose HTML no string can hold.
#include "testenvironment.h"
#include "themedirectory.h"

#include <accountservicemapper.h>
#include <boundedfile_p.h>
#include <emosequencesearchtree.h>
#include <emoticonparsingitem.h>
#include <emoticonthemefactory.h>
#include <emoticonthemeresourceavailabilitychecker.h>
#include <emoxmlparsinghandler.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mnamespace.h>
#include <mtextedit.h>
#include <mtheme.h>
#include <plaintextscan_p.h>

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextCodec>
#include <QTextDocument>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlInputSource>
#include <QXmlSimpleReader>

#include <cstdlib>
#include <functional>
#include <new>

#include <sys/stat.h>

using Mapping = QHash<QString, QString>;
using Result = QHash<QString, QVariant>;

namespace {

// Counts how often the watched address is released, inside the library as well: the executable's
// operator delete replaces the one the library links against.
const void *watched = nullptr;
int watchedDeletes = 0;

int deletesOf(const void *address, const std::function<void()> &action)
{
    watched = address;
    watchedDeletes = 0;
    action();
    watched = nullptr;
    return watchedDeletes;
}

// The parse result, or an empty one when the reader fails.
Result parse(QByteArray xml, const QString &baseDirectory = QStringLiteral("/themes/t"))
{
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    emoXMLParsingHandler handler(baseDirectory);
    QXmlInputSource source(&buffer);
    QXmlSimpleReader reader;
    reader.setContentHandler(&handler);
    return reader.parse(&source) ? handler.mappingTableExtractionResult() : Result();
}

QByteArray theme(
    const QByteArray &emoticons, const QByteArray &uuid = "u", const QByteArray &name = "Name")
{
    return "<emoticon_theme theme_uuid=\"" + uuid + "\" theme_name=\"" + name + "\">" + emoticons
        + "</emoticon_theme>";
}

// One emoticon; an empty @p small or @p medium gives no such file.
QByteArray emoticon(const QByteArray &code, const QByteArray &small,
    const QByteArray &medium = QByteArray(), bool preview = false)
{
    return QByteArray(preview ? "<emoticon preview=\"true\">" : "<emoticon>") + "<charactercode>"
        + code + "</charactercode>"
        + (small.isEmpty() ? "" : "<file size=\"s\">" + small + "</file>")
        + (medium.isEmpty() ? "" : "<file size=\"m\">" + medium + "</file>") + "</emoticon>";
}

QList<EmoticonParsingItem> items(const Result &result)
{
    return result.value(QStringLiteral("emoticons")).value<QList<EmoticonParsingItem>>();
}

// "[code]" ("[code]*" when default) and "size=file", sorted, then the position index and the
// preview flag.
QString describe(const EmoticonParsingItem &item)
{
    QStringList parts;
    for (auto code = item.characterCodes.cbegin(); code != item.characterCodes.cend(); ++code)
        parts += '[' + code.key() + (code.value().toBool() ? "]*" : "]");
    for (auto file = item.files.cbegin(); file != item.files.cend(); ++file)
        parts += file.key() + '=' + file.value().toString();
    parts.sort();
    return parts.join(' ') + " p=" + item.positionIndex + (item.preview ? " preview" : "");
}

QString previewPath(const QString &themeUUID)
{
    return QDir::homePath() + "/.emoticonthemepreview/preview_" + themeUUID + ".png";
}

QString write(const QString &path, const QByteArray &content)
{
    return GlyphmorphTest::writeBytes(path, content) ? path : QString();
}

QStringList listing(const QString &path)
{
    QStringList entries;
    QDirIterator it(
        path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(it.next());
    return entries;
}

// The theme of one preview emoticon in "/themes/t/".
EmoticonTheme fromItem(const QVariantHash &codes, const QString &small, const QString &medium)
{
    EmoticonParsingItem item;
    item.characterCodes = codes;
    item.files = { { "s", small }, { "m", medium } }; // an empty medium file counts as none
    item.preview = true;
    return EmoticonThemeFactory::emoticonThemeFromHashMap({ { "themeUUID", "u" },
        { "themeName", "n" }, { "serviceUUID", QString() }, { "baseDirectory", "/themes/t/" },
        { "emoticons", QVariant::fromValue(QList<EmoticonParsingItem> { item }) } });
}

// Puts the thing the row names at @p path; the PNG a link may point to lives beside it. A library
// that opens a FIFO to read waits for a writer for ever: the test's timeout catches it.
bool make(const QByteArray &kind, const QString &path)
{
    if (kind.startsWith("image of the widest side")) {
        QImage image(BoundedFile::maxImageSide + kind.endsWith("plus one"), 1, QImage::Format_Mono);
        image.fill(0);
        return image.save(path, "PNG");
    }
    if (kind == "FIFO")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "link to a device")
        return QFile::link("/dev/zero", path);
    if (kind == "directory")
        return QDir().mkpath(path);
    if (kind == "dangling link")
        return QFile::link(path + ".gone", path);
    if (kind == "link to an image")
        return GlyphmorphTest::writeImage(path + ".real") && QFile::link(path + ".real", path);
    return GlyphmorphTest::writeImage(path);
}

} // namespace

// Allocation is replaced along with release: memory from the runtime's own operator new must not
// reach free() (AddressSanitizer reports the mismatch).
void *operator new(std::size_t size)
{
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return std::malloc(size ? size : 1);
}
void operator delete(void *p) noexcept
{
    watchedDeletes += p && p == watched;
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete(void *p, const std::nothrow_t &) noexcept
{
    operator delete(p);
}

class EmoticonThemeFactoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First, before anything reads the settings: the store is read once per process.
    void settingsFilesAreFifos()
    {
        const QString directory = QFileInfo(AccountServiceMapper::accountsFilePath()).path();
        QVERIFY(QDir().mkpath(directory));
        const QString settings = QDir(directory).filePath("settings.conf");
        const QString accounts = AccountServiceMapper::accountsFilePath();
        for (const QString &path : { settings, accounts })
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

        MGConfItem item("/Messaging/Settings/CurrentCustomEmoticonTheme");
        QVERIFY(!item.value().isValid());
        item.set("x");
        AccountServiceMapper mapper;
        QVERIFY(mapper.ssoServiceIDForTpAccount("/a").isNull());
        // What could not be read is not replaced.
        QVERIFY(!QFileInfo(settings).isFile());
        QFile::remove(settings);
        QFile::remove(accounts);
    }

    // A theme is a handle: setters through any copy, one taken through a QVariant included, change
    // every copy.
    void settersChangeEveryCopy()
    {
        EmoticonTheme original;
        const EmoticonTheme earlierCopy = original;
        EmoticonTheme viaVariant = QVariant::fromValue(original).value<EmoticonTheme>();
        viaVariant.setThemeName("name");
        for (const EmoticonTheme &theme : { earlierCopy, original })
            QCOMPARE(theme.themeName(), QStringLiteral("name"));
    }

    // The theme owns its tree: handing back the same tree keeps it, a new one or the last copy's
    // end deletes it once.
    void treeDeletedOnce()
    {
        const QHash<QString, QString> codes = { { ":)", "/a.png" } };
        auto *first = new emoSequenceSearchTree(codes);
        auto *theme = new EmoticonTheme;
        theme->setCharacterCodeSequenceSearchTree(first);
        QCOMPARE(deletesOf(first, [&] { theme->setCharacterCodeSequenceSearchTree(first); }), 0);
        QCOMPARE(first->performPlainText2HTMLReplacement(":)", 0, QString()),
            QStringLiteral("<img src='/a.png'  width='20' height='20'>"));
        auto *second = new emoSequenceSearchTree(codes);
        QCOMPARE(deletesOf(first, [&] { theme->setCharacterCodeSequenceSearchTree(second); }), 1);
        QVariant copy = QVariant::fromValue(*theme);
        QCOMPARE(deletesOf(second, [&] { delete theme; }), 0);
        QCOMPARE(copy.value<EmoticonTheme>().characterCodeSequenceSearchTree(), second);
        QCOMPARE(deletesOf(second, [&] { copy = QVariant(); }), 1);
    }

    void builtInTheme()
    {
        const EmoticonTheme theme = EmoticonThemeFactory::defaultEmoticonTheme();
        const QString cache = QDir::homePath() + "/.emoticonthemecache/";
        const QString s = cache + "icon-s-messaging-smiley-";
        const QString uuid = "343a7f65-0095-4eae-8fc2-87af7f3bf5158";
        QCOMPARE(theme.codeSequenceToFilepathMapping().size(), 89);
        QCOMPARE(theme.filepathToPickerImageMapping().value(s + "happy.png"),
            QStringLiteral("icon-m-messaging-smiley-happy"));
        QCOMPARE(theme.codeSequenceToPriorityMapping().value(":@"), QStringLiteral("17"));
        QCOMPARE(QImageReader(previewPath(uuid)).size(), QSize(100, 100));

        // Plain text end to end, with a code that the text already carries escaped.
        const QString img = "<img src='" + s + "%1'  width='20' height='20'>";
        QCOMPARE(theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
                     "hi :) I <3 u, so &lt;3 ;( >-)", 0, "<br>"),
            "hi " + img.arg("happy") + " I " + img.arg("heart") + " u, so " + img.arg("heart") + ' '
                + img.arg("cry") + ' ' + img.arg("evil"));
    }

    void parseResult_data()
    {
        // "codes / default candidates / files": codes with "*" flagging the default; the small and
        // the medium file ("-" for none), then the resolved path, the picker image, the preview
        // icon.
        QTest::addColumn<QString>("row");
        QTest::newRow("no suffix") << ":)* / :) / N N_m N.png N_m N_m";
        QTest::newRow("suffix") << ":)* / :) / N.png N_m.png N.png N_m N_m.png";
        QTest::newRow("name repeating its base name") << ":)* / :) / N.N - N.N.png N N.N";
        QTest::newRow("flagged code wins") << "a b* c d / b / x.png - x.png x x.png";
        QTest::newRow("escaped form never displaces the flagged code")
            << ">)* &gt;) / >) / x.png - x.png x x.png";
        QTest::newRow("none flagged: one of the codes") << "a b / a b / x.png - x.png x x.png";
    }

    void parseResult()
    {
        QFETCH(QString, row);
        const QStringList parts = row.split(" / ");
        const QString codes = parts[0], defaults = parts[1], files = parts[2];
        QVariantHash hash;
        for (QString code : codes.split(' ')) {
            const bool flagged = code.endsWith('*');
            hash.insert(flagged ? code.chopped(1) : code, flagged);
        }
        const QStringList f = files.split(' ');
        const QString b = "/themes/t/";
        const EmoticonTheme theme = fromItem(hash, f[0], f[1] == "-" ? "" : f[1]);
        QVERIFY(theme.isValid());
        QCOMPARE(theme.codeSequenceToFilepathMapping().values().count(b + f[0]), hash.size());
        const QString code = theme.filePathToCodeSequenceMapping().value(b + f[2]);
        QVERIFY2(defaults.split(' ').contains(code), qPrintable(code));
        QCOMPARE(theme.codeSequenceToPriorityMapping().keys(), QStringList { code });
        QCOMPARE(theme.filepathToPickerImageMapping(), (Mapping { { b + f[2], f[3] } }));
        QCOMPARE(theme.previewIconName(), b + f[4]);
    }

    void previewWrittenOnceAndReused()
    {
        QTemporaryDir directory;
        QVERIFY(QImage(37, 23, QImage::Format_RGB32).save(directory.filePath("big.png")));
        const QString path = write(
            directory.filePath("own.xml"), theme(emoticon(":)", "s.png", "big.png", true), "own"));
        QVERIFY(EmoticonThemeFactory::emoticonThemeFromXML(path).isValid());
        QCOMPARE(QImageReader(previewPath("own")).size(), QSize(37, 23));

        write(previewPath("own"), "kept");
        QVERIFY(EmoticonThemeFactory::emoticonThemeFromXML(path).isValid());
        QVERIFY(!QImageReader(previewPath("own")).canRead());
    }

    // Theme files named after the fault they catch, in "refused" and "accepted", and files that
    // are made here: too large, missing. Devices and directories are untrustedFile's.
    void robustness_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("valid");
        // Instead of a file holding xml; relative: in its directory.
        QTest::addColumn<QString>("path");
        const QDir hostile(QString::fromUtf8(GLYPHMORPH_TEST_DATA "/hostile/themes"));
        for (const bool valid : { false, true }) {
            const QDir dir(hostile.filePath(valid ? "accepted" : "refused"));
            for (const QString &name : dir.entryList(QDir::Files))
                QTest::newRow(qPrintable(name))
                    << GlyphmorphTest::readBytes(dir.filePath(name)) << valid << QString();
        }
        QTest::newRow("file over the size limit")
            << "<emoticon_theme theme_uuid=\"u\" theme_name=\"Name\"><emoticon><charactercode>:)"
               "</charactercode><file size=\"s\">a.png</file></emoticon></emoticon_theme><!--"
                + QByteArray(EmoticonThemeFactory::maxThemeFileSize, ' ') + "-->"
            << false << QString();
        QTest::newRow("missing file") << QByteArray() << false << "gone/t.xml";
        QTest::newRow("missing resource")
            << QByteArray() << false << ":/default_theme_resources/none.xml";
    }

    void robustness()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, valid);
        QFETCH(QString, path);
        QTemporaryDir directory;
        write(directory.filePath("fake.png"), "this is not an image");
        // A UUID of "../escaped" would reach previews + "escaped.png" through this directory.
        const QString previews = QDir::homePath() + "/.emoticonthemepreview/";
        QDir().mkpath(previews + "preview_..");
        path = path.isEmpty() ? write(directory.filePath("t.xml"), xml)
                              : QDir(directory.path()).filePath(path);
        QDir().mkpath(directory.filePath("own"));
        const QString ownPath = write(directory.filePath("own/own.xml"), xml);
        const QStringList before = listing(QDir::homePath()) + listing(directory.path());

        const EmoticonTheme theme = EmoticonThemeFactory::emoticonThemeFromXML(path);
        QCOMPARE(theme.isValid(), valid);
        if (!xml.isNull()) { // the diagnosis reads the file as the factory does, and agrees
            const auto refusal
                = EmoticonThemeFactory::diagnoseTheme(QFileInfo(ownPath).path()).refusal();
            // An emoticon without an image leaves an image path that discovery waits for in vain.
            QCOMPARE(refusal == EmoticonThemeDiagnosis::NotRefused
                    || refusal == EmoticonThemeDiagnosis::MissingImages,
                valid && !theme.filePathToCodeSequenceMapping().contains(QString()));
        }
        const Mapping codes = theme.codeSequenceToFilepathMapping();
        QVERIFY(codes.keys().join(QString()).size() <= emoXMLParsingHandler::maxCodeCharacters);
        for (auto code = codes.cbegin(); code != codes.cend(); ++code) {
            QVERIFY(code.key().size() <= 6 * emoXMLParsingHandler::maxCodeLength);
            QVERIFY(
                code.value().startsWith(directory.path() + '/') && !code.value().contains(".."));
        }
        if (!valid) { // nothing written: no preview, no directory for a missing file
            QCOMPARE(listing(QDir::homePath()) + listing(directory.path()), before);
            return;
        }
        // Every image tag keeps its six quotes: none comes from a file name.
        const QString out
            = theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
                codes.keys().join(' '), 0, "<br>");
        QVERIFY(out.contains("<img "));
        QCOMPARE(out.count('\''), 6 * out.count("<img "));
        for (const char *unwritten : { "preview_fake.png", "escaped.png" })
            QVERIFY(!QFileInfo::exists(previews + unwritten));
    }

    void diagnosis_data()
    {
        QTest::addColumn<QByteArray>("xml"); // of DIR/Smile.xml, which holds a.png and b.png
        QTest::addColumn<QString>("change"); // made to the directory before the diagnosis
        QTest::addColumn<int>("refusal");
        QTest::addColumn<int>("line"); // of the refusal, else of its first detail
        QTest::addColumn<QString>("text"); // in the reason or a finding
        const auto row = [](const char *name, const QByteArray &xml, const char *change,
                             int refusal, int line, const QString &text) {
            QTest::newRow(name) << xml << QString(change) << refusal << line << text;
        };
        // One row for each refusal class and each kind of warning.
        using D = EmoticonThemeDiagnosis;
        const QByteArray a = emoticon(":)", "a.png", "", true) + '\n';
        const QByteArray good = theme(a + emoticon(":(", "b.png"));
        row("no preview", theme(emoticon(":)", "a.png")), "", D::NotRefused, 0,
            "no emoticon has preview=\"true\"");
        row("image not readable", good, "b text", D::NotRefused, 0,
            "b.png (for :() is not an image that can be read");
        row("hidden directory", good, "hidden", D::NotRefused, 0, "hidden directories");
        row("code given twice", theme(a + emoticon(":)", "b.png")), "", D::NotRefused, 0,
            "the code ':)' is also the emoticon's on line 1: this later one is used");
        row("no picker image", good, "", D::NotRefused, 0,
            "the emoticon ':)' has no picker image (<file size=\"m\">)");
        row("not a directory", good, "file", D::NoThemeFile, 0, "not a directory");
        row("not well-formed",
            "<emoticon_theme theme_uuid='u' theme_name='n'>\n<emoticon>\n"
            "</emoticon_theme>",
            "", D::UnreadableThemeFile, 3, "Smile.xml is not well-formed at line 3, column ");
        row("no UUID nor name", theme(a, "", ""), "", D::NoIdentity, 0,
            "lacks a UUID (theme_uuid) and a name (theme_name)");
        row("small image outside", theme(a + emoticon(":(", "../b.png")), "", D::NoUsableEmoticon,
            2, "the emoticon ':(' has a small image name that is empty, has control characters");
        row("image missing", good, "b missing", D::MissingImages, 0, "b.png (for :()");
        row("image a link outside", good, "b outside", D::UnsafeImages, 0,
            "b.png resolves outside the theme directory: $ROOT/outside.png");
    }

    // The rules, each with its class and place; how the tool words them is its own test.
    void diagnosis()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, change);
        QFETCH(int, refusal);
        QFETCH(int, line);
        QFETCH(QString, text);
        QTemporaryDir root;
        const QString directory = root.filePath(change == "hidden" ? ".Smile" : "Smile");
        QDir().mkpath(directory);
        const QString xmlPath
            = write(directory + '/' + QFileInfo(directory).fileName() + ".xml", xml);
        const QString b = directory + "/b.png";
        for (const QString &image : { directory + "/a.png", b, root.filePath("outside.png") })
            QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(image, "PNG"));
        if (change.startsWith("b "))
            QVERIFY(QFile::remove(b));
        if (change == "b outside")
            QVERIFY(QFile::link(root.filePath("outside.png"), b));
        if (change == "b text")
            write(b, "no image");

        const EmoticonThemeDiagnosis diagnosis
            = EmoticonThemeFactory::diagnoseTheme(change == "file" ? xmlPath : directory + "/.");
        QCOMPARE(diagnosis.directory(), QDir::cleanPath(change == "file" ? xmlPath : directory));
        QCOMPARE(int(diagnosis.refusal()), refusal);
        QCOMPARE(diagnosis.reason().isEmpty(), refusal == EmoticonThemeDiagnosis::NotRefused);
        const QList<EmoticonThemeDiagnosis::Finding> details
            = diagnosis.findings(EmoticonThemeDiagnosis::Finding::Detail);
        QCOMPARE(diagnosis.line() ? diagnosis.line() : details.value(0).line, qint64(line));
        QString all = diagnosis.reason();
        for (const EmoticonThemeDiagnosis::Finding &finding : diagnosis.findings())
            all += '\n' + finding.text;
        text.replace("$ROOT", QFileInfo(root.path()).canonicalFilePath());
        QVERIFY2(all.contains(text), qPrintable(all));
        if (refusal == EmoticonThemeDiagnosis::NotRefused)
            QVERIFY(diagnosis.theme().isValid());
    }

    // What the parser makes of one emoticon.
    void parsedEmoticon_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *xml, const char *expected) {
            QTest::newRow(name) << QByteArray(xml) << QString(expected);
        };
        row("whitespace kept", "<emoticon><charactercode default=\"true\"> :) </charactercode>",
            "[ :) ]* p=");
        row("default and preview in any case, nothing else true",
            "<emoticon preview=\"True\"><charactercode default=\"TRUE\">a</charactercode>"
            "<charactercode default=\"True\">b</charactercode>"
            "<charactercode default=\"yes\">c</charactercode>",
            "[a]* [b]* [c] p= preview");
        row("size M kept as written",
            "<emoticon><file size=\"M\">a.png</file><file size=\"s\">b</file>", "M=a.png s=b p=");
        row("comment read as code, name ignored",
            "<emoticon><comment>:(</comment><name>hi</name><positionindex>4</positionindex>",
            "[:(] p=4");
        row("empty code element does not repeat the code before it",
            "<emoticon><charactercode>:)</charactercode><charactercode default=\"true\"/>",
            "[:)] p=");
        row("element beginning with c nested in a code keeps the code",
            "<emoticon><charactercode>:)<cnested/></charactercode><positionindex>2<pn/>"
            "</positionindex>",
            "[:)] p=2");
    }

    void parsedEmoticon()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, expected);
        const QList<EmoticonParsingItem> emoticons
            = items(parse("<emoticon_theme theme_uuid=\"u\" theme_name=\"n\">" + xml
                + "</emoticon></emoticon_theme>"));
        QCOMPARE(emoticons.size(), 1);
        QCOMPARE(describe(emoticons.at(0)), expected);
    }

    // The depth limit, in either encoding, with markup-like text that opens no element at random
    // around the nesting and a document type that declares elements: depth alone decides.
    void themeFileNesting()
    {
        QTemporaryDir directory;
        QRandomGenerator random(7);
        const int limit = EmoticonThemeFactory::maxThemeFileDepth;
        const QByteArray decorations[]
            = { "<!-- > < -->", "<![CDATA[<x>]]>", "<?p >?>", "<e q='>'/>", "t&gt;", "<e/>" };
        QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE");
        for (int round = 0; round < 64; ++round) {
            const int depth = limit - 4 + round % 8;
            QByteArray inside;
            for (int level = 0; level < depth - 2; ++level)
                inside += "<n>" + decorations[random.bounded(6)];
            for (int level = 0; level < depth - 2; ++level)
                inside += decorations[random.bounded(6)] + "</n>";
            // The theme's first emoticon is at depth 2 already.
            QByteArray xml = GlyphmorphTest::themeXml({ "u", {}, { "a" } });
            xml.replace("<positionindex>", inside + "<positionindex>");
            if (round / 8 % 2)
                xml.replace("<emoticon_theme",
                    "<!DOCTYPE emoticon_theme [ <!ELEMENT n ANY> ]>\n<emoticon_theme");
            if (round / 16 % 2)
                xml = utf16->fromUnicode(QString::fromUtf8(xml.replace("UTF-8", "UTF-16")));
            const QString path = write(directory.filePath(QString::number(round) + ".xml"), xml);
            QCOMPARE(EmoticonThemeFactory::emoticonThemeFromXML(path).isValid(), depth <= limit);
        }
    }

    void untrustedFile_data()
    {
        QTest::addColumn<bool>("regular");
        QTest::addColumn<bool>("readable");
        QTest::newRow("FIFO") << false << false;
        QTest::newRow("link to a device") << false << false;
        QTest::newRow("directory") << false << false;
        QTest::newRow("dangling link") << false << false;
        QTest::newRow("link to an image") << true << true;
        QTest::newRow("image") << true << true;
        QTest::newRow("image of the widest side") << true << true;
        QTest::newRow("image of the widest side plus one") << true << false;
    }
    // Every place that reads a theme's files: the description, the images, the preview, the
    // completeness check, the editor.
    void untrustedFile()
    {
        QFETCH(bool, regular);
        QFETCH(bool, readable);
        QTemporaryDir directory;
        const QString description
            = GlyphmorphTest::writeTheme(directory.path(), "T", { "u", {}, { "img" } }, false);
        const QString image = QDir(description).filePath("img.png");
        QVERIFY(make(QTest::currentDataTag(), image));

        QCOMPARE(BoundedFile::isRegularFile(image), regular);
        QCOMPARE(!BoundedFile::readImage(image).isNull(), readable);
        // Without suffix, as the built-in theme names its images.
        QCOMPARE(!BoundedFile::readImage(QDir(description).filePath("img")).isNull(), readable);
        QCOMPARE(EmoticonThemeFactory::emoticonThemeFromXML(image).isValid(), false);

        EmoticonTheme theme;
        theme.setThemeUUID("untrusted");
        theme.setPreviewIconName(image);
        const QString preview = directory.filePath("preview.png");
        QCOMPARE(EmoticonThemeFactory::generatePreviewPixmap(preview, theme), readable);

        EmoticonThemeResourceAvailabilityChecker checker(description);
        QSignalSpy available(&checker,
            SIGNAL(resourcesAvailable(
                QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)));
        checker.start();
        QCOMPARE(available.count(), regular ? 1 : 0); // decoding is the validation's
        QCOMPARE(checker.checkResourceValidation(), readable);

        MTextEdit edit;
        const EmoticonTheme found
            = EmoticonThemeFactory::emoticonThemeFromXML(QDir(description).filePath("T.xml"));
        QVERIFY(found.characterCodeSequenceSearchTree());
        edit.setText(":img: ");
        edit.setProperty("positionOfChange", 0);
        edit.setProperty("charactersPasted", 6);
        found.characterCodeSequenceSearchTree()->performCharacterCode2EmoticonReplacement(&edit, 0);
        Glyphmorpher().addEmoticonToTextEdit(&edit, ":img:", image);
        // The layout asks for every image's size: it must find the library's, not read the file.
        QCOMPARE(edit.document()->size().isValid(), true);
    }

    // A registered directory is searched below itself only: a link to "/" must not make the
    // lookup walk the whole file system.
    void pixmapDirectoryLinkOutside()
    {
        QTemporaryDir directory;
        const QString outside = directory.filePath("outside");
        const QString theme = directory.filePath("linked");
        QVERIFY(QDir().mkpath(outside + "/deeper") && QDir().mkpath(theme));
        QVERIFY(GlyphmorphTest::writeImage(outside + "/deeper/far.png"));
        QVERIFY(GlyphmorphTest::writeImage(theme + "/near.png"));
        QVERIFY(QFile::link(outside, theme + "/out"));
        QVERIFY(QFile::link("/", theme + "/root"));
        MTheme::addPixmapDirectory(theme, M::Recursive);
        const std::unique_ptr<QPixmap> near(MTheme::pixmapCopy("near", {}));
        const std::unique_ptr<QPixmap> far(MTheme::pixmapCopy("far", {}));
        QVERIFY(near && !near->isNull());
        QVERIFY(!far);
    }

    // HTML past the longest string: the text as it stands, never an abort.
    void htmlPastTheLongestString()
    {
        PlainTextScan::setMaxLengthForTests(4000);
        const QString path = "/" + QString("p").repeated(80);
        emoSequenceSearchTree tree({ { ":)", path } });
        const int tag = tree.performPlainText2HTMLReplacement(":)", 0, {}).size();
        // Codes and the spaces between them: exactly as long as the limit allows.
        const int codes = 4001 / (tag + 1);
        QString fits = QStringLiteral(":) ").repeated(codes);
        fits.chop(1);
        QCOMPARE(tree.performPlainText2HTMLReplacement(fits, 0, {}).size(), codes * (tag + 1) - 1);
        const QString tooLong = fits + " :)";
        QCOMPARE(tree.performPlainText2HTMLReplacement(tooLong, 0, {}), tooLong);
        // Line breaks alone can pass the limit too.
        const QString lines(2000, QLatin1Char('\n'));
        QCOMPARE(tree.performPlainText2HTMLReplacement(lines, 0, QStringLiteral("<br>")), lines);
        PlainTextScan::setMaxLengthForTests(0);
    }
};

QT_WARNING_POP

GLYPHMORPH_TEST_MAIN(EmoticonThemeFactoryTest)
#include "emoticonthemefactorytest.moc"

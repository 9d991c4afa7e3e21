// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtheme.h"

#include "boundedfile_p.h"
#include "mgconfitem.h"
#include "mstylesheet_p.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSet>
#include <QSvgRenderer>
#include <QVector>
#include <QtMath>

// Q_INIT_RESOURCE declares the resource's initialiser, which lives in the global namespace.
static void initThemeResources()
{
    Q_INIT_RESOURCE(platformthemes);
}

namespace {

const char themeKey[] = "/meegotouch/theme/name";
const char defaultTheme[] = "base";
const char builtInThemesRoot[] = ":/glyphmorph/platformthemes/";
const char systemThemesRoot[] = "/usr/share/glyphmorph0/themes";

// Directory times can be this coarse; a directory changed this close to its scan may have changed
// again without its time moving.
const int timestampGranularitySecs = 2;

struct ScannedDirectory
{
    QString path;
    QDateTime modified;
};

struct PixmapDirectory
{
    QString path;
    bool recursive = false;
    bool scanned = false;
    QDateTime scannedAt;
    QVector<ScannedDirectory> directories;
    QHash<QString, QString> icons;
};

struct SharedPixmap
{
    QPixmap *pixmap = nullptr;
    int references = 0;
};

bool isSvg(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("svg") || suffix == QLatin1String("svgz");
}

bool isImage(const QFileInfo &file)
{
    static const QSet<QString> suffixes = [] {
        QSet<QString> result { QStringLiteral("svg"), QStringLiteral("svgz") };
        const QList<QByteArray> formats = QImageReader::supportedImageFormats();
        for (const QByteArray &format : formats)
            result.insert(QString::fromLatin1(format).toLower());
        return result;
    }();
    return suffixes.contains(file.suffix().toLower());
}

// Ids and theme names become path components, so they must not step out of their directory.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString systemThemesDir()
{
    const QString configured = qEnvironmentVariable("GLYPHMORPH_PLATFORM_THEMES_DIR");
    return configured.isEmpty() ? QString::fromLatin1(systemThemesRoot) : configured;
}

QString themeIconPath(const QString &theme, const QString &id)
{
    const QString system
        = systemThemesDir() % QLatin1Char('/') % theme % QLatin1String("/icons/") % id;
    for (const char *suffix : { ".svg", ".png" }) {
        const QString path = system + QLatin1String(suffix);
        if (QFileInfo(path).isFile())
            return path;
    }
    const QString builtIn = QLatin1String(builtInThemesRoot) % theme % QLatin1String("/icons/") % id
        % QLatin1String(".svg");
    return QFileInfo(builtIn).isFile() ? builtIn : QString();
}

bool isKnownTheme(const QString &name)
{
    return isPlainName(name)
        && (QFileInfo(QLatin1String(builtInThemesRoot) + name).isDir()
            || QFileInfo(systemThemesDir() % QLatin1Char('/') % name % QLatin1String("/icons"))
                   .isDir());
}

QPalette themePalette(const QString &theme)
{
    constexpr qint64 maxPaletteFileSize = 64 * 1024;
    QByteArray content;
    const QString fileName = theme + QLatin1String("/palette.conf");
    if (!BoundedFile::read(
            systemThemesDir() % QLatin1Char('/') % fileName, maxPaletteFileSize, &content)
        && !BoundedFile::read(
            QLatin1String(builtInThemesRoot) + fileName, maxPaletteFileSize, &content))
        return QPalette();
    QMap<QPalette::ColorRole, QColor> colours;
    const QStringList lines = QString::fromUtf8(content).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (line.trimmed().startsWith(QLatin1Char('#')) || equals < 0)
            continue;
        bool known = false;
        const QPalette::ColorRole role = MStyleSheet::paletteRole(line.left(equals), &known);
        const QColor colour(line.mid(equals + 1).trimmed());
        if (known && colour.isValid())
            colours.insert(role, colour);
    }
    QPalette palette = colours.contains(QPalette::Button) && colours.contains(QPalette::Window)
        ? QPalette(colours.value(QPalette::Button), colours.value(QPalette::Window))
        : QPalette();
    for (auto colour = colours.cbegin(); colour != colours.cend(); ++colour)
        palette.setColor(colour.key(), colour.value());
    return palette;
}

QString themeSetting()
{
    // Read afresh on every lookup, so a theme switch applies to the next icon asked for.
    return MGConfItem(QLatin1String(themeKey)).value().toString();
}

bool isStale(const PixmapDirectory &directory)
{
    if (!directory.scanned)
        return true;
    for (const ScannedDirectory &scanned : directory.directories) {
        const QDateTime modified = QFileInfo(scanned.path).lastModified();
        if (!modified.isValid() || modified != scanned.modified
            || modified.secsTo(directory.scannedAt) < timestampGranularitySecs)
            return true;
    }
    return false;
}

void scan(PixmapDirectory &directory)
{
    directory.icons.clear();
    directory.directories.clear();
    directory.scannedAt = QDateTime::currentDateTimeUtc();
    const QString root = QFileInfo(directory.path).canonicalFilePath();
    QSet<QString> visited;
    // Depth first, each directory before its sub-directories, without recursion: the depth is
    // whatever the directory holds.
    QStringList pending { directory.path };
    while (!pending.isEmpty()) {
        const QString path = pending.takeLast();
        const QFileInfo info(path);
        // Taken before listing, so a file added during the listing makes the directory look
        // changed.
        directory.directories.append({ path, info.lastModified() });
        // Symbolic links may lead back up the tree, or out of it: a link to "/" in a theme
        // directory would make a scan of the whole file system.
        const QString canonical = info.canonicalFilePath();
        if (canonical.isEmpty() || visited.contains(canonical)
            || (canonical != root && !canonical.startsWith(root + QLatin1Char('/'))))
            continue;
        visited.insert(canonical);

        const QDir dir(path);
        // Sorted, so which of two files with the same base name wins does not depend on the
        // system.
        const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            const QString id = file.baseName();
            if (!id.isEmpty() && isImage(file) && !directory.icons.contains(id))
                directory.icons.insert(id, file.filePath());
        }
        if (!directory.recursive)
            continue;
        const QFileInfoList subdirectories
            = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
        for (const QFileInfo &subdirectory : subdirectories)
            pending.append(subdirectory.filePath());
    }
    directory.scanned = true;
}

QImage render(const QString &path, const QSize &size)
{
    // Icon directories may be writable by others: read them as untrusted files.
    if (isSvg(path)) {
        QByteArray content;
        if (!BoundedFile::read(path, BoundedFile::maxImageFileSize, &content))
            return QImage();
        QSvgRenderer renderer(content);
        if (!renderer.isValid())
            return QImage();
        const QSize target = size.isEmpty() ? renderer.defaultSize() : size;
        if (target.isEmpty() || target.width() > BoundedFile::maxImageSide
            || target.height() > BoundedFile::maxImageSide)
            return QImage();
        QImage image(target, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return image;
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        return image;
    }
    QImage image = BoundedFile::readImage(path);
    if (image.isNull() || size.isEmpty() || image.size() == size)
        return image;
    // Larger than the image: its sharper twin beside it (NAME@2x.png), the way Qt picks images
    // for dense screens, rather than the image blown up.
    const qreal ratio
        = qMax(qreal(size.width()) / image.width(), qreal(size.height()) / image.height());
    for (int n = qMin(qCeil(ratio), 9); n > 1; --n) {
        const QString twin = BoundedFile::densityTwin(path, n);
        const QImage sharper
            = BoundedFile::isRegularFile(twin) ? BoundedFile::readImage(twin) : QImage();
        if (!sharper.isNull()) {
            image = sharper;
            break;
        }
    }
    if (image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

class MThemePrivate
{
public:
    MThemePrivate() { initThemeResources(); }
    MThemePrivate(const MThemePrivate &) = delete;
    MThemePrivate &operator=(const MThemePrivate &) = delete;
    ~MThemePrivate() { qDeleteAll(sharedKeys.keys()); }

    QString iconPath(const QString &id);
    QString registeredIconPath(const QString &id, bool rescanChanged);

    QMutex directoriesMutex;
    QVector<PixmapDirectory> directories;

    // Separate from directoriesMutex: pixmap() renders while holding it.
    QMutex sharedMutex;
    QHash<QString, SharedPixmap> shared;
    QHash<const QPixmap *, QString> sharedKeys;
};

Q_GLOBAL_STATIC(MThemePrivate, themeState)

QString MThemePrivate::registeredIconPath(const QString &id, bool rescanChanged)
{
    for (PixmapDirectory &directory : directories) {
        if (rescanChanged ? isStale(directory) : !directory.scanned)
            scan(directory);
        QString path = directory.icons.value(id);
        if (path.isEmpty())
            continue;
        if (QFileInfo(path).isFile())
            return path;
        scan(directory);
        path = directory.icons.value(id);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

QString MThemePrivate::iconPath(const QString &id)
{
    if (id.isEmpty())
        return QString();
    {
        QMutexLocker locker(&directoriesMutex);
        // Directories are listed again only on a miss, and only those changed since their scan.
        QString path = registeredIconPath(id, false);
        if (path.isEmpty())
            path = registeredIconPath(id, true);
        if (!path.isEmpty())
            return path;
    }
    if (!isPlainName(id))
        return QString();
    const QString theme = MTheme::currentTheme();
    const QString path = themeIconPath(theme, id);
    if (!path.isEmpty() || theme == QLatin1String(defaultTheme))
        return path;
    return themeIconPath(QLatin1String(defaultTheme), id);
}

QString normalisedSizeText(const QSize &size)
{
    if (size.isEmpty())
        return QStringLiteral("own");
    return QString::number(size.width()) % QLatin1Char('x') % QString::number(size.height());
}

} // namespace

void MTheme::addPixmapDirectory(const QString &directory, M::RecursionMode mode)
{
    if (directory.isEmpty())
        return;
    const QString path = QDir::cleanPath(QDir(directory).absolutePath());
    const bool recursive = mode == M::Recursive;
    MThemePrivate *d = themeState();
    QMutexLocker locker(&d->directoriesMutex);
    for (PixmapDirectory &known : d->directories) {
        if (known.path == path) {
            if (recursive && !known.recursive) {
                known.recursive = true;
                known.scanned = false;
            }
            return;
        }
    }
    PixmapDirectory added;
    added.path = path;
    added.recursive = recursive;
    d->directories.append(added);
}

void MTheme::clearPixmapDirectories()
{
    MThemePrivate *d = themeState();
    QMutexLocker locker(&d->directoriesMutex);
    d->directories.clear();
}

QPixmap *MTheme::pixmapCopy(const QString &id, const QSize &size)
{
    // Pixmaps exist only in a GUI application; a command-line program gets none.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    const QString path = themeState()->iconPath(id);
    if (path.isEmpty())
        return nullptr;
    const QImage image = render(path, size);
    if (image.isNull())
        return nullptr;
    return new QPixmap(QPixmap::fromImage(image));
}

const QPixmap *MTheme::pixmap(const QString &id, const QSize &size)
{
    MThemePrivate *d = themeState();
    const QString path = d->iconPath(id);
    // Keyed by the file and its time rather than the id, so a theme switch or a rewritten file
    // gives new callers the new image while earlier holders keep theirs.
    const QString source = path.isEmpty()
        ? QString(QLatin1String("unknown:") + id)
        : QString(QLatin1String("file:") % path % QLatin1Char('@')
            % QString::number(QFileInfo(path).lastModified().toMSecsSinceEpoch()));
    const QString key = source % QLatin1Char('@') % normalisedSizeText(size);
    QMutexLocker locker(&d->sharedMutex);
    SharedPixmap &entry = d->shared[key];
    if (!entry.pixmap) {
        const QImage image = path.isEmpty() ? QImage() : render(path, size);
        entry.pixmap = new QPixmap(QPixmap::fromImage(image));
        d->sharedKeys.insert(entry.pixmap, key);
    }
    ++entry.references;
    return entry.pixmap;
}

void MTheme::releasePixmap(const QPixmap *pixmap)
{
    if (!pixmap)
        return;
    MThemePrivate *d = themeState();
    QMutexLocker locker(&d->sharedMutex);
    const auto key = d->sharedKeys.constFind(pixmap);
    if (key == d->sharedKeys.constEnd())
        return;
    const auto entry = d->shared.find(*key);
    if (--entry->references > 0)
        return;
    delete entry->pixmap;
    d->shared.erase(entry);
    d->sharedKeys.erase(key);
}

QString MTheme::currentTheme()
{
    themeState();
    const QString setting = themeSetting();
    return isKnownTheme(setting) ? setting : QString::fromLatin1(defaultTheme);
}

QPalette MTheme::palette()
{
    return themePalette(currentTheme());
}

QStringList MTheme::availableThemes()
{
    themeState();
    QStringList themes = QDir(QLatin1String(builtInThemesRoot))
                             .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QDir system(systemThemesDir());
    const QStringList installed = system.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : installed) {
        if (!themes.contains(name)
            && QFileInfo(system.filePath(name) + QLatin1String("/icons")).isDir())
            themes.append(name);
    }
    return themes;
}

#include "ui/QtDroppedData.hpp"

#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace zorlo {

namespace {

// Windows text drops carry CR LF line breaks; the engine writes dropped text
// back into the pane, where a lone line feed would read as Enter.
Text withCrLf(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return lines.toStdU16String();
}

// File managers add the dropped files' names as plain text too. A Windows file
// drop offers no text, so text that only repeats the file list is not offered.
bool onlyNamesFiles(const QString& text, const QStringList& files) {
    QStringList named;
    const auto lines =
        text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QString item = line.trimmed();
        if (item.isEmpty() || item.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QUrl url(item);
        named.append(url.isLocalFile() ? url.toLocalFile() : item);
    }
    QStringList sortedFiles = files;
    named.sort();
    sortedFiles.sort();
    return !named.isEmpty() && named == sortedFiles;
}

} // namespace

QtDroppedData::QtDroppedData(const QMimeData& mime) {
    QStringList localFiles;
    if (mime.hasUrls()) {
        for (const QUrl& url : mime.urls()) {
            if (url.isLocalFile()) {
                localFiles.append(url.toLocalFile());
                files_.push_back(url.toLocalFile().toStdU16String());
            }
        }
    }
    if (mime.hasText() && !onlyNamesFiles(mime.text(), localFiles)) {
        hasText_ = true;
        text_ = withCrLf(mime.text());
    }
    const QStringList formats = mime.formats();
    hasImage_ =
        mime.hasImage() || std::any_of(formats.begin(), formats.end(), [](const QString& format) {
            return format.startsWith(QLatin1String("image/"));
        });
}

bool QtDroppedData::getFormat(DropFormat format) const {
    switch (format) {
    case DropFormat::Files:
        return !files_.empty();
    case DropFormat::Text:
        return hasText_;
    case DropFormat::Bitmap:
        return hasImage_;
    case DropFormat::Link:
    case DropFormat::Palette:
    case DropFormat::Dib:
    case DropFormat::Metafile:
        return false;
    }
    return false;
}

} // namespace zorlo

#include "app/gui/qt_text.h"

#include <QFile>

namespace zev {

QString ToQString(std::string_view bytes, TextEncoding encoding)
{
    std::string utf8 = ModelToUtf8(bytes, encoding);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text, TextEncoding encoding)
{
    QByteArray utf8 = text.toUtf8();
    return Utf8ToModel(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), encoding);
}

QString ToDisplayText(std::string_view bytes, TextEncoding encoding)
{
    QString text = ToQString(bytes, encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString PathToQString(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQString(const QString& path)
{
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace zev

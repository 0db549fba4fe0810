#include "imaging/file_extensions.h"

#include <algorithm>
#include <utility>

namespace pictarium {

namespace {

template <std::size_t Count>
bool contains(const std::array<const char*, Count>& extensions, const QString& extension) {
    return std::any_of(extensions.begin(), extensions.end(), [&extension](const char* listed) {
        return extension == QLatin1String(listed);
    });
}

}  // namespace

QString GetFileExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return QString();
    }
    return name.mid(dot + 1).toUpper();
}

PictureFileName::PictureFileName(QString filePath)
    : path(std::move(filePath)), extension(GetFileExtension(path)) {}

ExtensionGroup extensionGroupOf(const QString& extension) {
    if (contains(PlatformLoaderExtensions, extension)) {
        return ExtensionGroup::PlatformLoader;
    }
    if (contains(ImagingComponentExtensions, extension) ||
        contains(ContentReadExtensions, extension)) {
        return ExtensionGroup::ImagingComponent;
    }
    return ExtensionGroup::Ignored;
}

}  // namespace pictarium

#include "core/file_names.h"

#include "core/catalogue.h"

namespace quimo {

namespace {

std::string_view fileNamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string baseName(std::string_view path)
{
    const std::string_view name = fileNamePart(path);
    return std::string(name.substr(0, name.find('.')));
}

std::string overviewPictureName(std::string_view dataFilePath)
{
    const std::string_view name = fileNamePart(dataFilePath);
    const std::string_view folder = dataFilePath.substr(0, dataFilePath.size() - name.size());
    const std::size_t dot = name.rfind('.');

    std::string picture(folder);
    picture += dot == std::string_view::npos ? std::string(name) + ".jpg"
                                             : std::string(name.substr(0, dot)) + ".jpg";
    // A data file that is itself called *.jpg must never be overwritten by its picture.
    if (picture == dataFilePath) {
        picture += ".jpg";
    }
    return picture;
}

std::string detailPictureName(std::string_view baseName, int block)
{
    return std::string(baseName) + std::string(blockNames(block).snapshotSuffix);
}

} // namespace quimo

#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Utils {

// Appends to a text the base64 of what qCompress would make of all bytes
// written, as they come: a large history is never held a second time.
class CompressedBase64Writer final
{
public:
    // `totalBytes` is what will be written; `level` is zlib's, 0 only stores.
    CompressedBase64Writer(std::string &text, std::size_t totalBytes, int level);
    ~CompressedBase64Writer();

    void write(const std::uint8_t *bytes, std::size_t size);
    // Ends the text; write() may not follow.
    void finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// What qUncompress gives for the base64 `field`, or nullopt when it does not
// decode or the size the stream claims up front is outside [least, most].
std::optional<QByteArray> readCompressedBase64(std::string_view field, std::size_t least,
                                               std::size_t most);

} // namespace Utils

#pragma once
// Results of engine operations that can fail. Nothing in the engine throws: an operation
// returns a Status (or a struct holding one) whose message is one line of UTF-8 text that
// names what failed and why, ready to be shown to a user.

#include <string>
#include <utility>

namespace bistrope {

enum class ErrorCode {
    None = 0,
    NotFound,        // the file or its folder does not exist
    ReadFailed,      // the file exists but cannot be read
    Empty,           // the file holds no bytes
    NotAnImage,      // the content is not a known image format
    Truncated,       // the file ends before the image does
    Corrupt,         // the image data is damaged
    Unsupported,     // a format or variant this build cannot decode
    TooLarge,        // the declared size is above the pixel limit
    OutOfMemory,     // a buffer could not be allocated
    NoImage,         // an operation was given an empty image
    ModeZero,        // blending mode 0: no conversion may be made
    EmptyOutput,     // the output rectangle is empty
    InvalidArgument, // a value outside its documented range
    ReadOnly,        // the target file or folder cannot be written
    DiskFull,        // the disk ran out of space while writing
    WriteFailed,     // any other failure while writing
    NoMatch,         // the two pictures give too few reliable matches to align them
};

struct Status {
    ErrorCode code = ErrorCode::None;
    std::string message;

    [[nodiscard]] bool ok() const { return code == ErrorCode::None; }
    static Status Ok() { return {}; }
    static Status Error(ErrorCode code, std::string message) { return {code, std::move(message)}; }
};

}  // namespace bistrope

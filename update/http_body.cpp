#include "update/http_body.h"

#include <algorithm>

#include "update/http_rules.h"

BodyReader::BodyReader(Framing framing, int64_t length, int64_t limit, std::string tooLarge)
    : chunked_(framing == Framing::Chunked), limit_(limit), tooLarge_(std::move(tooLarge)) {
    switch (framing) {
        case Framing::Chunked: state_ = State::SizeLine; break;
        case Framing::Length:
            left_ = length;
            state_ = length > 0 ? State::Data : State::Done;
            if (length > limit) fail(tooLarge_);
            break;
        case Framing::ToClose: state_ = State::ToClose; break;
    }
}

bool BodyReader::fail(const std::string& why) {
    if (why_.empty()) why_ = why.empty() ? "refused" : why;
    state_ = State::Done;
    return false;
}

// Body bytes go on up to the bound; one byte beyond it ends the body. A sink that refuses has
// told its own reason.
bool BodyReader::pass(std::string_view bytes, const std::function<bool(std::string_view)>& sink) {
    const bool beyond = static_cast<int64_t>(bytes.size()) > limit_ - received_;
    if (beyond) bytes = bytes.substr(0, static_cast<size_t>(limit_ - received_));
    if (!bytes.empty()) {
        received_ += static_cast<int64_t>(bytes.size());
        if (!sink(bytes)) return fail("");
    }
    return !beyond || fail(tooLarge_);
}

// A chunk-size line, however the bytes are split: at most 1 KiB with its line feed.
void BodyReader::readSizeLine(std::string_view& bytes) {
    const size_t end = bytes.find('\n');
    const size_t take = end == std::string_view::npos ? bytes.size() : end;
    if (line_.size() + take >= kMaxChunkSizeLine) {
        fail("The server sent a chunk-size line longer than 1 KiB.");
        return;
    }
    line_.append(bytes.substr(0, take));
    bytes.remove_prefix(end == std::string_view::npos ? take : take + 1);
    if (end == std::string_view::npos) return;
    const std::optional<int64_t> size = CHUNKSIZE(line_ + "\n");
    line_.clear();
    if (!size) {
        fail("The server sent a damaged chunk size.");
    } else if (*size > limit_ - received_) {
        fail(tooLarge_);
    } else if (*size == 0) {
        state_ = State::Done;
    } else {
        left_ = *size;
        state_ = State::Data;
    }
}

bool BodyReader::feed(std::string_view bytes, const std::function<bool(std::string_view)>& sink) {
    while (why_.empty() && !bytes.empty() && state_ != State::Done) {
        switch (state_) {
            case State::ToClose:
                pass(bytes, sink);
                bytes = {};
                break;
            case State::Data: {
                const auto take = static_cast<size_t>(std::min<int64_t>(left_, static_cast<int64_t>(bytes.size())));
                if (!pass(bytes.substr(0, take), sink)) break;
                bytes.remove_prefix(take);
                left_ -= static_cast<int64_t>(take);
                if (left_ > 0) break;
                state_ = chunked_ ? State::DataEnd : State::Done;
                lineEnd_ = 2;
                break;
            }
            case State::DataEnd: {
                const size_t skip = std::min(lineEnd_, bytes.size());
                bytes.remove_prefix(skip);
                lineEnd_ -= skip;
                if (lineEnd_ == 0) state_ = State::SizeLine;
                break;
            }
            case State::SizeLine: readSizeLine(bytes); break;
            case State::Done: break;
        }
    }
    return why_.empty();
}

bool BodyReader::close() {
    if (state_ == State::ToClose) state_ = State::Done;
    if (state_ == State::Done) return why_.empty();
    return fail("The server closed the connection before the transfer was complete.");
}

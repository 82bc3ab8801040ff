// The body of a response as its bytes arrive, without sockets: read by its framing (chunks, an
// announced length, or everything until the server closes) and held to a bound, so that no byte
// beyond the bound ever reaches the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class BodyReader {
public:
    enum class Framing { Chunked, Length, ToClose };

    // length is the announced one (Length only); limit the most the body may hold, and tooLarge
    // what is said when it holds more.
    BodyReader(Framing framing, int64_t length, int64_t limit, std::string tooLarge);

    // Hands the body's bytes among these to sink; false when the response breaks a rule (why()
    // says which) or the sink refuses them.
    bool feed(std::string_view bytes, const std::function<bool(std::string_view)>& sink);

    // The server closed the connection: true when that ends the body as it should.
    bool close();

    bool done() const { return state_ == State::Done; }
    int64_t received() const { return received_; }
    const std::string& why() const { return why_; }

private:
    enum class State { SizeLine, Data, DataEnd, ToClose, Done };
    bool fail(const std::string& why);
    bool pass(std::string_view bytes, const std::function<bool(std::string_view)>& sink);
    void readSizeLine(std::string_view& bytes);

    State state_ = State::Done;
    bool chunked_;
    int64_t left_ = 0;     // bytes of the current chunk or announced length still to come
    size_t lineEnd_ = 0;   // bytes of the line end after a chunk still to skip
    int64_t limit_;
    std::string tooLarge_;
    std::string line_;  // the chunk-size line so far
    int64_t received_ = 0;
    std::string why_;
};

#pragma once

namespace Kav {

// Names one stage (state) of the inspected part; scene updates are done for a stage.
class StageIdentifier {
public:
    constexpr StageIdentifier() = default;
    constexpr explicit StageIdentifier(unsigned int id) : id_(id) {}

    constexpr unsigned int getId() const { return id_; }
    constexpr bool operator==(StageIdentifier const& o) const { return id_ == o.id_; }
    constexpr bool operator!=(StageIdentifier const& o) const { return id_ != o.id_; }

private:
    unsigned int id_ = 0;
};

} // namespace Kav

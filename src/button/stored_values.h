#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A caption font as a button stores it. Bold is a weight of 700 or more.
struct CaptionFont {
    std::wstring face;
    double points = 0;
    int weight = 400;
    int charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool operator==(const CaptionFont&) const = default;
};

// One stored value: a number (booleans are -1 and 0), a text, or a font.
using PropertyValue = std::variant<std::int64_t, std::wstring, CaptionFont>;

// The set of stored property values of one placed button, supplied by its container. Keys are
// matched without regard to case.
class PropertyBag {
  public:
    virtual ~PropertyBag() = default;
    // The value under key, or nothing when the key is missing.
    virtual std::optional<PropertyValue> Read(std::string_view key) const = 0;
    // Stores value under key; nothing leaves the key out of the set.
    virtual void Write(std::string_view key, const std::optional<PropertyValue>& value) = 0;
};

// A property bag held in memory, for containers that keep their buttons' values themselves.
class MemoryPropertyBag final : public PropertyBag {
  public:
    std::optional<PropertyValue> Read(std::string_view key) const override;
    void Write(std::string_view key, const std::optional<PropertyValue>& value) override;
    std::size_t Size() const { return values_.size(); }

  private:
    struct CaseInsensitiveLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::map<std::string, PropertyValue, CaseInsensitiveLess> values_;
};

// A stored value as an integer within [minimum, maximum]: numbers as they are, texts of decimal
// digits and "True" / "False" (-1 / 0). Nothing when it does not convert or is out of range.
std::optional<std::int64_t> IntegerFrom(const PropertyValue& value, std::int64_t minimum,
                                        std::int64_t maximum);

// A stored value as text: texts as they are, numbers in decimal. Nothing for a font.
std::optional<std::wstring> TextFrom(const PropertyValue& value);

// Reading: a missing key gives readDefault; a value that does not convert gives nothing, so
// that the caller keeps what it has.
std::optional<std::int64_t> ReadInteger(const PropertyBag& bag, std::string_view key,
                                        std::int64_t readDefault, std::int64_t minimum,
                                        std::int64_t maximum);
std::optional<std::wstring> ReadText(const PropertyBag& bag, std::string_view key,
                                     const std::wstring& readDefault);
std::optional<CaptionFont> ReadFont(const PropertyBag& bag, std::string_view key,
                                    const CaptionFont& readDefault);

// Writing: a value equal to its default is left out of the set.
void WriteValue(PropertyBag& bag, std::string_view key, const PropertyValue& value,
                const PropertyValue& writeDefault);

// Reading a command's session, path variables and body fields.
#include "webdriver/CommandContext.h"

#include "webdriver/WebDriverError.h"

namespace {

const char* TypeNameOf(const nlohmann::json& value) { return value.type_name(); }

// Numbers up to 2^53 - 1 are exact in every JSON reader.
const int64_t kMaxSafeInteger = 9007199254740991LL;

}  // namespace

bool JsonSafeInteger(const nlohmann::json& value, int64_t* pOut) {
    if (value.is_number_unsigned()) {
        if (value.get<uint64_t>() > static_cast<uint64_t>(kMaxSafeInteger)) return false;
        *pOut = static_cast<int64_t>(value.get<uint64_t>());
        return true;
    }
    if (value.is_number_integer()) {
        const int64_t n = value.get<int64_t>();
        if (n > kMaxSafeInteger || n < -kMaxSafeInteger) return false;
        *pOut = n;
        return true;
    }
    if (value.is_number_float()) {
        const double d = value.get<double>();
        // 12.0 is an integer to a JSON client; 12.5, NaN and 1e300 are not.
        if (!(d >= -static_cast<double>(kMaxSafeInteger) && d <= static_cast<double>(kMaxSafeInteger))) return false;
        const int64_t n = static_cast<int64_t>(d);
        if (static_cast<double>(n) != d) return false;
        *pOut = n;
        return true;
    }
    return false;
}

CSession& CCommandContext::Session() const {
    if (!m_pSession) ThrowWebDriverError(WebDriverErrorCode::InvalidSessionId, "this command has no session");
    return *m_pSession;
}

const std::string& CCommandContext::Param(const char* name) const {
    for (const auto& param : m_params) {
        if (param.first == name) return param.second;
    }
    static const std::string kNone;
    return kNone;
}

bool CCommandContext::Has(const char* field) const { return m_body.is_object() && m_body.contains(field); }

const nlohmann::json& CCommandContext::Require(const char* field) const {
    if (!Has(field)) ThrowInvalidArgument(std::string("the body has no \"") + field + "\"");
    return m_body.at(field);
}

std::string CCommandContext::RequireString(const char* field) const {
    const nlohmann::json& value = Require(field);
    if (!value.is_string()) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be a string, not " + TypeNameOf(value));
    }
    return value.get<std::string>();
}

bool CCommandContext::RequireBool(const char* field) const {
    const nlohmann::json& value = Require(field);
    if (!value.is_boolean()) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be a boolean, not " + TypeNameOf(value));
    }
    return value.get<bool>();
}

int64_t CCommandContext::RequireInteger(const char* field, int64_t minimum, int64_t maximum) const {
    const nlohmann::json& value = Require(field);
    int64_t number = 0;
    if (!JsonSafeInteger(value, &number)) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be an integer, not " + value.dump());
    }
    if (number < minimum || number > maximum) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be between " + std::to_string(minimum) + " and " +
                             std::to_string(maximum) + ", not " + std::to_string(number));
    }
    return number;
}

const nlohmann::json& CCommandContext::RequireObject(const char* field) const {
    const nlohmann::json& value = Require(field);
    if (!value.is_object()) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be an object, not " + TypeNameOf(value));
    }
    return value;
}

const nlohmann::json& CCommandContext::RequireArray(const char* field) const {
    const nlohmann::json& value = Require(field);
    if (!value.is_array()) {
        ThrowInvalidArgument(std::string("\"") + field + "\" must be an array, not " + TypeNameOf(value));
    }
    return value;
}

// Reading the forest file: strict, so that a mistyped key or value is reported, never ignored.
// The file is read as a stream of JSON events, without a document tree: a forest of a thousand
// domains, each listing every other, is some 50 MB of JSON, whose tree would take gigabytes.
#include "forest_file.h"

#include "name_check.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <initializer_list>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

// No network delay a forest models is longer than this; more is a mistake in the file.
constexpr std::uint32_t kMaxLatencyMs = 60000;
constexpr std::uint64_t kMaxUint32 = 0xFFFFFFFFu;
constexpr std::uint64_t kMaxTrustType = 4;  // TRUST_TYPE_DCE, the last of the documented types

// The containers of the format, by where they stand.
enum class Place {
    File,          // the top-level object
    Machine,       // "machine"
    Latency,       // "latency_ms"
    DnsSection,    // "dns": query name -> answer
    TrustSection,  // "trusts": server name -> answer
    DnsList,       // an answer as a list of SRV targets
    DnsAnswer,     // an answer as an object
    DnsRecords,    // its "records"
    DnsRecord,     // one of them
    TrustAnswer,   // an enumeration
    TrustDomains,  // its "domains"
    TrustDomain,   // one of them
};

struct Frame {
    Place place;
    std::string key;        // objects: the member being read
    unsigned seen = 0;      // objects: the members read so far, as MemberBit bits
    std::size_t index = 0;  // lists: the elements begun so far
};

// One scalar of the file.
struct Scalar {
    enum Kind { Null, Boolean, Negative, Whole, Fraction, Text } kind = Null;
    std::int64_t negative = 0;  // Negative
    std::uint64_t whole = 0;    // Whole
    std::string text;           // Text
};

Scalar ScalarOf(Scalar::Kind kind)
{
    Scalar scalar;
    scalar.kind = kind;
    return scalar;
}

// A bit for each member name of the format's objects.
unsigned MemberBit(const std::string& name)
{
    static const char* const kMembers[] = {"status",     "domain",  "site",    "type",   "target",
                                           "dns",        "flags",   "attributes", "records", "domains",
                                           "dcname",     "trusts",  "member",  "latency_ms"};
    for (unsigned i = 0; i < sizeof kMembers / sizeof kMembers[0]; ++i)
        if (name == kMembers[i])
            return 1u << i;
    return 0;
}

bool Seen(const Frame& frame, const char* member)
{
    return (frame.seen & MemberBit(member)) != 0;
}

// The events of the JSON parser, turned into the forest, the first fault stopping the parse.
struct ForestStream {
    Forest forest;
    std::string error;
    std::vector<Frame> frames;
    NameConversion convert = KeepUtf8;
    // The first key, as the file spells it, of each name of the two sections, by the name.
    std::map<std::string, std::string> firstDnsKeys;
    std::map<std::string, std::string> firstTrustKeys;
    // What the open containers hold so far; the format nests each kind at most once.
    std::string entry;  // the query or server name of the answer being read, as the file spells it
    ForestMachine machine;
    std::string machineDomainText;        // "domain" as the file spells it
    std::optional<std::string> memberText;  // "member" as the file spells it
    ForestDnsAnswer dnsAnswer;
    ForestDnsRecord dnsRecord;
    ForestTrustAnswer trustAnswer;
    ForestTrust trust;

    bool Fail(const std::string& where, const std::string& what)
    {
        if (error.empty())
            error = (where.empty() ? std::string() : where + ": ") + what;
        return false;
    }

    // Places in the file, for messages only: built when a fault is found, never on the way.
    // How the member or element now being read stands in the container at that depth.
    std::string Step(std::size_t depth) const
    {
        const Frame& frame = frames[depth];
        switch (frame.place) {
        case Place::File:
            return frame.key;
        case Place::DnsSection:
        case Place::TrustSection:
            return "[\"" + frame.key + "\"]";
        case Place::DnsList:
        case Place::DnsRecords:
        case Place::TrustDomains:
            return "[" + std::to_string(frame.index - 1) + "]";
        default:
            return "." + frame.key;
        }
    }

    // The innermost container.
    std::string Container() const
    {
        std::string path;
        for (std::size_t depth = 0; depth + 1 < frames.size(); ++depth)
            path += Step(depth);
        return path;
    }

    // The value being read.
    std::string Here() const { return Container() + Step(frames.size() - 1); }

    // A list's element begins.
    void Advance()
    {
        Frame& frame = frames.back();
        if (frame.place == Place::DnsList || frame.place == Place::DnsRecords || frame.place == Place::TrustDomains)
            ++frame.index;
    }

    // What the value at the next place must be, for the message when it is not.
    std::string Expected() const
    {
        const Frame& frame = frames.back();
        const std::string& key = frame.key;
        switch (frame.place) {
        case Place::File:
        case Place::DnsSection:
        case Place::TrustSection:
        case Place::DnsRecords:
        case Place::TrustDomains:
            return "expected an object";
        case Place::DnsList:
            return "expected a string";
        case Place::Latency:
            return "expected a whole number from 0 to " + std::to_string(kMaxLatencyMs);
        case Place::DnsRecord:
            return key == "type" ? "expected a whole number from 0 to 65535" : "expected a string";
        case Place::DnsAnswer:
            if (key == "records")
                return "expected a list";
            if (key == "latency_ms")
                return "expected a whole number from 0 to " + std::to_string(kMaxLatencyMs);
            return "expected a whole number from " + std::to_string(std::numeric_limits<std::int32_t>::min()) +
                   " to " + std::to_string(std::numeric_limits<std::int32_t>::max());
        case Place::TrustAnswer:
            if (key == "latency_ms")
                return "expected a whole number from 0 to " + std::to_string(kMaxLatencyMs);
            return key == "domains" ? "expected a list" : "expected a whole number from 0 to 4294967295";
        case Place::Machine:
        case Place::TrustDomain:
            if (key == "type")
                return "expected a whole number from 1 to " + std::to_string(kMaxTrustType);
            return key == "status" || key == "flags" || key == "attributes"
                       ? "expected a whole number from 0 to 4294967295"
                       : "expected a string";
        }
        return "unexpected";
    }

    bool ReadWhole(const Scalar& value, std::uint64_t max, std::uint64_t& out)
    {
        if (value.kind != Scalar::Whole || value.whole > max)
            return Fail(Here(), Expected());
        out = value.whole;
        return true;
    }

    bool ReadUint32(const Scalar& value, std::uint32_t& out)
    {
        std::uint64_t whole = 0;
        if (!ReadWhole(value, kMaxUint32, whole))
            return false;
        out = static_cast<std::uint32_t>(whole);
        return true;
    }

    bool ReadLatency(const Scalar& value, std::optional<std::uint32_t>& out)
    {
        std::uint64_t ms = 0;
        if (!ReadWhole(value, kMaxLatencyMs, ms))
            return false;
        out = static_cast<std::uint32_t>(ms);
        return true;
    }

    // Names reach C strings: a NUL byte would cut them short without a trace.
    bool ReadText(const Scalar& value, std::string& out)
    {
        if (value.kind != Scalar::Text)
            return Fail(Here(), Expected());
        if (value.text.find('\0') != std::string::npos)
            return Fail(Here(), "a name can't hold a NUL character");
        out = value.text;
        return true;
    }

    bool ReadOptionalText(const Scalar& value, std::optional<std::string>& out)
    {
        if (value.kind == Scalar::Null) {
            out.reset();
            return true;
        }
        std::string text;
        if (!ReadText(value, text))
            return false;
        out = text;
        return true;
    }

    // A name as the directory hands it out.
    bool ReadName(const Scalar& value, std::string& out)
    {
        if (!ReadText(value, out))
            return false;
        out = convert(out);
        return true;
    }

    bool ReadOptionalName(const Scalar& value, std::optional<std::string>& out)
    {
        if (!ReadOptionalText(value, out))
            return false;
        if (out)
            out = convert(*out);
        return true;
    }

    bool Value(const Scalar& value)
    {
        if (frames.empty())
            return Fail("", "expected an object");
        Advance();
        const Frame& frame = frames.back();
        const std::string& key = frame.key;
        switch (frame.place) {
        case Place::Machine:
            if (key == "status")
                return ReadUint32(value, machine.status);
            if (key == "domain") {
                if (!ReadText(value, machineDomainText))
                    return false;
                machine.domain = convert(machineDomainText);
                return true;
            }
            if (key == "member")  // answered in Unicode: kept as the file spells it
                return ReadOptionalText(value, memberText);
            return ReadOptionalName(value, machine.site);
        case Place::Latency: {
            std::uint64_t ms = 0;
            if (!ReadWhole(value, kMaxLatencyMs, ms))
                return false;
            std::uint32_t& latency = key == "dcname" ? forest.latencyMs.dcname
                                     : key == "dns"  ? forest.latencyMs.dns
                                                     : forest.latencyMs.trusts;
            latency = static_cast<std::uint32_t>(ms);
            return true;
        }
        case Place::DnsList: {
            ForestDnsRecord record;
            if (!ReadName(value, record.target))
                return false;
            dnsAnswer.records.push_back(record);
            return true;
        }
        case Place::DnsAnswer: {
            if (key == "records")
                return Fail(Here(), Expected());
            if (key == "latency_ms")
                return ReadLatency(value, dnsAnswer.latencyMs);
            const bool fits = (value.kind == Scalar::Whole && value.whole <= std::numeric_limits<std::int32_t>::max()) ||
                              (value.kind == Scalar::Negative &&
                               value.negative >= std::numeric_limits<std::int32_t>::min());
            if (!fits)
                return Fail(Here(), Expected());
            dnsAnswer.status = static_cast<std::int32_t>(value.kind == Scalar::Whole
                                                             ? static_cast<std::int64_t>(value.whole)
                                                             : value.negative);
            return true;
        }
        case Place::DnsRecord: {
            if (key == "target")
                return ReadName(value, dnsRecord.target);
            std::uint64_t type = 0;
            if (!ReadWhole(value, 0xFFFFu, type))
                return false;
            dnsRecord.type = static_cast<std::uint16_t>(type);
            return true;
        }
        case Place::TrustAnswer:
            if (key == "domains")
                return Fail(Here(), Expected());
            if (key == "latency_ms")
                return ReadLatency(value, trustAnswer.latencyMs);
            return ReadUint32(value, trustAnswer.status);
        case Place::TrustDomain:
            if (key == "dns")
                return ReadOptionalName(value, trust.dnsDomainName);
            if (key == "type") {
                if (value.kind != Scalar::Whole || value.whole < 1 || value.whole > kMaxTrustType)
                    return Fail(Here(), Expected());
                trust.trustType = static_cast<std::uint32_t>(value.whole);
                return true;
            }
            return ReadUint32(value, key == "flags" ? trust.flags : trust.trustAttributes);
        default:
            return Fail(Here(), Expected());
        }
    }

    bool Open(bool object)
    {
        if (frames.empty()) {
            if (!object)
                return Fail("", "expected an object");
            frames.push_back(Frame{Place::File, "", 0, 0});
            return true;
        }
        Advance();
        const Place parentPlace = frames.back().place;
        const std::string& key = frames.back().key;
        Place place = Place::File;
        switch (parentPlace) {
        case Place::File:
            if (!object)
                return Fail(Here(), Expected());
            place = key == "machine"      ? Place::Machine
                    : key == "latency_ms" ? Place::Latency
                    : key == "dns"        ? Place::DnsSection
                                          : Place::TrustSection;
            machine = ForestMachine();
            machineDomainText.clear();
            memberText.reset();
            break;
        case Place::DnsSection:
            entry = key;
            dnsAnswer = ForestDnsAnswer();
            place = object ? Place::DnsAnswer : Place::DnsList;
            break;
        case Place::TrustSection:
            if (!object)
                return Fail(Here(), Expected());
            entry = key;
            trustAnswer = ForestTrustAnswer();
            place = Place::TrustAnswer;
            break;
        case Place::DnsAnswer:
            if (object || key != "records")
                return Fail(Here(), Expected());
            place = Place::DnsRecords;
            break;
        case Place::DnsRecords:
            if (!object)
                return Fail(Here(), Expected());
            dnsRecord = ForestDnsRecord();
            place = Place::DnsRecord;
            break;
        case Place::TrustAnswer:
            if (object || key != "domains")
                return Fail(Here(), Expected());
            place = Place::TrustDomains;
            break;
        case Place::TrustDomains:
            if (!object)
                return Fail(Here(), Expected());
            trust = ForestTrust();
            place = Place::TrustDomain;
            break;
        default:  // a member or element that must be a scalar
            return Fail(Here(), Expected());
        }
        frames.push_back(Frame{place, "", 0, 0});
        return true;
    }

    bool Key(const std::string& name)
    {
        Frame& frame = frames.back();
        const auto allowed = [&](std::initializer_list<const char*> keys) {
            for (const char* key : keys)
                if (name == key)
                    return true;
            return Fail(Container(), "unknown key \"" + name + "\"");
        };
        bool known = true;
        switch (frame.place) {
        case Place::File:
            known = allowed({"machine", "dns", "trusts", "latency_ms"});
            break;
        case Place::Machine:
            known = allowed({"status", "domain", "site", "member"});
            break;
        case Place::Latency:
            known = allowed({"dcname", "dns", "trusts"});
            break;
        case Place::DnsAnswer:
            known = allowed({"status", "records", "latency_ms"});
            break;
        case Place::DnsRecord:
            known = allowed({"type", "target"});
            break;
        case Place::TrustAnswer:
            known = allowed({"status", "domains", "latency_ms"});
            break;
        case Place::TrustDomain:
            known = allowed({"dns", "flags", "attributes", "type"});
            break;
        default:  // the sections: any query or server name a C string can carry
            if (name.find('\0') != std::string::npos)
                return Fail(Container(), "a name can't hold a NUL character");
            break;
        }
        frame.key = name;
        frame.seen |= MemberBit(name);
        return known;
    }

    bool Close()
    {
        const bool good = Check(frames.back());
        frames.pop_back();
        return good;
    }

    // An answer goes under its name as the directory matches it. Two keys that are one name
    // there must answer alike: which of them the directory would use is undefined.
    template <typename Answer>
    bool Store(std::map<std::string, Answer>& section, std::map<std::string, std::string>& firstKeys,
               const std::string& sectionName, Answer& answer)
    {
        const std::string name = FoldedDomainName(convert(entry));
        const auto first = firstKeys.emplace(name, entry);
        if (first.second) {
            section[name] = std::move(answer);
            return true;
        }
        if (section[name] == answer)
            return true;
        return Fail(Container(), "one name with " + sectionName + "[\"" + first.first->second +
                                     "\"] to the directory (letter case aside, in the ANSI code page) but another answer");
    }

    // A container ends: what it must hold, and where its contents go.
    bool Check(const Frame& frame)
    {
        switch (frame.place) {
        case Place::Machine:
            if (Seen(frame, "member") && machine.status != kSimStatusNoSuchDomain)
                return Fail(Container(), "\"member\" is read only with status 1355, when no domain controller answers");
            if (machine.status != 0) {  // a failing location has no structure
                machine.domain.clear();
                machine.site.reset();
                machine.memberOf = memberText;
            } else if (!Seen(frame, "domain")) {
                return Fail(Container(), "a machine with status 0 needs a \"domain\"");
            } else {
                machine.memberOf = machineDomainText;
            }
            forest.machine = machine;
            return true;
        case Place::DnsList:
        case Place::DnsAnswer:
            return Store(forest.dns, firstDnsKeys, "dns", dnsAnswer);
        case Place::DnsRecord: {
            const bool named = dnsRecord.type == kSimDnsTypeSrv || dnsRecord.type == kSimDnsTypeCname;
            if (!Seen(frame, "type"))
                return Fail(Container(), "a record needs a \"type\"");
            if (dnsRecord.type == kSimDnsTypeSrv && !Seen(frame, "target"))
                return Fail(Container(), "a type 33 (SRV) record needs a \"target\"");
            if (dnsRecord.type == kSimDnsTypeCname && !Seen(frame, "target"))
                return Fail(Container(), "a type 5 (CNAME) record needs a \"target\"");
            if (!named && Seen(frame, "target"))
                return Fail(Container(), "only a type 33 (SRV) or 5 (CNAME) record has a \"target\"");
            dnsAnswer.records.push_back(dnsRecord);
            return true;
        }
        case Place::TrustDomain:
            if (!Seen(frame, "dns"))
                return Fail(Container(), "a domain needs \"dns\" (a name or null)");
            if (!Seen(frame, "flags"))
                return Fail(Container(), "a domain needs \"flags\"");
            trustAnswer.domains.push_back(trust);
            return true;
        case Place::TrustAnswer:
            if (trustAnswer.status != 0)
                trustAnswer.domains.clear();  // a failing enumeration returns no array
            return Store(forest.trusts, firstTrustKeys, "trusts", trustAnswer);
        default:
            return true;
        }
    }

    // The parser's interface.
    bool null() { return Value(ScalarOf(Scalar::Null)); }
    bool boolean(bool) { return Value(ScalarOf(Scalar::Boolean)); }
    bool number_float(json::number_float_t, const std::string&) { return Value(ScalarOf(Scalar::Fraction)); }
    // The parser gives non-negative whole numbers as unsigned, the others as signed.
    bool number_integer(json::number_integer_t n)
    {
        Scalar scalar = ScalarOf(Scalar::Negative);
        scalar.negative = n;
        return Value(scalar);
    }
    bool number_unsigned(json::number_unsigned_t n)
    {
        Scalar scalar = ScalarOf(Scalar::Whole);
        scalar.whole = n;
        return Value(scalar);
    }
    bool string(std::string& text)
    {
        Scalar scalar = ScalarOf(Scalar::Text);
        scalar.text = std::move(text);
        return Value(scalar);
    }
    bool binary(json::binary_t&) { return Fail("", "binary data is not JSON"); }
    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool key(std::string& name) { return Key(name); }

    bool parse_error(std::size_t, const std::string&, const json::exception& failure)
    {
        // The library's text: "[json.exception.parse_error.101] parse error at line 2, column 5: ..."
        const std::string what = failure.what();
        const std::size_t start = what.find("] ");
        error = "not valid JSON: " + (start == std::string::npos ? what : what.substr(start + 2));
        return false;
    }
};

}  // namespace

std::string KeepUtf8(const std::string& utf8)
{
    return utf8;
}

bool ParseForest(const std::string& text, Forest& forest, std::string& error, NameConversion convert)
{
    ForestStream stream;
    stream.convert = convert;
    if (!json::sax_parse(text, &stream)) {
        error = stream.error;
        return false;
    }
    forest = std::move(stream.forest);
    return true;
}

bool ReadForestFile(const std::string& path, Forest& forest, std::string& error, NameConversion convert)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "can't open the file";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        error = "can't read the file";
        return false;
    }
    return ParseForest(text.str(), forest, error, convert);
}

ForestMachine MachineAnswer(const Forest& forest)
{
    if (forest.machine)
        return *forest.machine;
    ForestMachine none;
    none.status = kSimStatusNoSuchDomain;
    return none;
}

ForestDnsAnswer DnsAnswerFor(const Forest& forest, const std::string& queryName)
{
    const auto found = forest.dns.find(FoldedDomainName(queryName));
    if (found != forest.dns.end()) {
        ForestDnsAnswer answer = found->second;
        if (answer.status == 0 && answer.records.empty())
            answer.status = kSimStatusDnsNoRecords;
        return answer;
    }
    ForestDnsAnswer none;
    none.status = kSimStatusDnsNameError;
    return none;
}

ForestTrustAnswer TrustAnswerFor(const Forest& forest, const char* server)
{
    const auto found = forest.trusts.find(server == nullptr ? std::string() : FoldedDomainName(server));
    if (found != forest.trusts.end())
        return found->second;
    ForestTrustAnswer none;
    none.status = kSimStatusServerUnavailable;
    return none;
}

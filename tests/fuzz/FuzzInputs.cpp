#include "FuzzInputs.h"

#include "FuzzRandom.h"
#include "ProductDescriptor.h"

#include <vector>

namespace {

const std::vector<std::string> kAbsurdTexts = {"",
                                               " ",
                                               "0",
                                               "-1",
                                               "4294967295",
                                               "4294967296",
                                               "99999999999999999999",
                                               "2147483647",
                                               "-2147483648",
                                               "1.2.3.4.5",
                                               "65535.65535.65535",
                                               "255.255.65535",
                                               "999999.999999.999999",
                                               "1..2",
                                               ".",
                                               "1.",
                                               "0x10",
                                               "ffffffff",
                                               "1e9",
                                               " 1.0.0 ",
                                               "..\\..\\x.msp",
                                               "C:\\x.msp",
                                               "\\\\server\\share\\x.msp",
                                               "CON",
                                               "nul.msp",
                                               "x.msp:stream",
                                               "x?.msp",
                                               "x.msp.",
                                               "x.msp ",
                                               "/x.msp",
                                               "%TEMP%\\x.msp",
                                               "\\\\?\\C:\\x.msp",
                                               "&amp;",
                                               "&#1;",
                                               "&undefined;",
                                               "<![CDATA[..\\x]]>",
                                               "\xE9\xE8\xFF\x80",
                                               "MSP",
                                               "msi",
                                               "Fmc",
                                               "UPD",
                                               "EXE",
                                               "exe ",
                                               "http://",
                                               "http://127.0.0.1:1/",
                                               "\"",
                                               "'",
                                               ",",
                                               ",,",
                                               ":",
                                               "/",
                                               "[",
                                               "]",
                                               "=",
                                               ";",
                                               "\t",
                                               "\r\n"};

const std::vector<std::string> kPrerequisiteNames = {"Msi200",  "Msi301",  "IE4",     "IE6",     "IE8",
                                                     "Netfx20", "Netfx35", "Netfx40", "Soap30",  "VCRedist80",
                                                     "msi301",  "Other",   "",        "Package1"};

std::string LongText(FuzzRandom& random)
{
    size_t length = random.OneIn(20) ? 5000 + random.Below(30000) : 250 + random.Below(40);
    return std::string(length, static_cast<char>('A' + random.Below(26)));
}

std::string Absurd(FuzzRandom& random)
{
    return random.OneIn(6) ? LongText(random) : random.Pick(kAbsurdTexts);
}

// Mostly the usual value; now and then an empty, absurd or huge one.
std::string Field(FuzzRandom& random, const std::string& usual)
{
    return random.OneIn(10) ? Absurd(random) : usual;
}

std::string Version(FuzzRandom& random, int major, int minor)
{
    if (random.OneIn(15))
        return Absurd(random);
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(random.Below(3));
}

std::string Guid(size_t number)
{
    char text[48];
    std::snprintf(text, sizeof text, "{%08X-0000-4000-8000-%012X}", static_cast<unsigned>(number * 2654435761u),
                  static_cast<unsigned>(number));
    return text;
}

// A child element; sometimes missing, doubled or nested deeply.
std::string Element(FuzzRandom& random, const std::string& name, const std::string& text,
                    const std::string& attributes = std::string())
{
    if (random.OneIn(40))
        return std::string();
    std::string element = "<" + name + attributes + ">" + text + "</" + name + ">";
    if (random.OneIn(50))
        element += element;
    return element;
}

std::string Nested(FuzzRandom& random, const std::string& inner)
{
    size_t depth = random.OneIn(5) ? 1000 + random.Below(5000) : 2 + random.Below(300);
    const std::string name = random.OneIn(2) ? "relnote" : random.OneIn(2) ? "update" : "product";
    std::string text;
    for (size_t i = 0; i < depth; ++i)
        text += "<" + name + " id=\"n" + std::to_string(i % 7) + "\">";
    text += inner;
    for (size_t i = 0; i < depth; ++i)
        text += "</" + name + ">";
    return text;
}

// Damage a parser must survive: flipped, replaced, removed, repeated or
// inserted bytes, and a cut.
void DamageBytes(FuzzRandom& random, std::string& text)
{
    size_t operations = 1 + random.Below(8);
    for (size_t i = 0; i < operations && !text.empty(); ++i) {
        size_t at = random.Below(text.size());
        size_t span = 1 + random.Below(std::min<size_t>(64, text.size() - at));
        switch (random.Below(6)) {
        case 0:
            text[at] = static_cast<char>(text[at] ^ (1 << random.Below(8)));
            break;
        case 1:
            text[at] = static_cast<char>(random.Below(256));
            break;
        case 2:
            text.erase(at, span);
            break;
        case 3:
            text.insert(at, text.substr(at, span));
            break;
        case 4:
            text.insert(at, std::string(1 + random.Below(4), static_cast<char>(random.Below(256))));
            break;
        default:
            text.resize(at);
            break;
        }
    }
}

// Update u of a ladder, unbent so the chain holds: from 1.u.0 (from 0 for
// the first) to 1.u+1.0, naming update u-2 as a dependent.
std::string LadderUpdate(size_t product, size_t u)
{
    auto id = [product](size_t number) {
        return "U" + std::to_string(product) + "_" + std::to_string(number);
    };
    std::string from = u == 0 ? "0" : "1." + std::to_string(u) + ".0";
    return "<update id=\"" + id(u) + "\"><version>1." + std::to_string(u + 1) + ".0</version><targetversionmin>" +
           from + "</targetversionmin><targetversionmax>1." + std::to_string(u) + ".0</targetversionmax><filename>" +
           id(u) + ".msp</filename><format>MSP</format><filesize>10</filesize>" +
           (u >= 2 ? "<dependent>" + id(u - 2) + "</dependent>" : std::string()) + "</update>";
}

size_t ProductCount(FuzzRandom& random)
{
    if (random.OneIn(500))
        return 1000 + random.Below(2000);
    if (random.OneIn(20))
        return 20 + random.Below(200);
    return 1 + random.Below(3);
}

std::string CatalogText(FuzzRandom& random)
{
    const ProductDescriptor& descriptor = GetProductDescriptor();
    if (random.OneIn(40)) {
        return "<?xml version=\"1.0\"?><updateserverstatus id=\"" + Field(random, "503") + "\"><text lang=\"E\">" +
               Field(random, "Busy") + "</text><text lang=\"F\">" + Field(random, "Occupé") +
               "</text></updateserverstatus>";
    }
    size_t products = ProductCount(random);
    // Ids come from a small pool so that dependents name products and
    // updates of the same catalog, and name each other in cycles.
    size_t pool = products + 4;
    std::vector<std::string> updateIds;
    std::string body;
    for (size_t p = 0; p < products; ++p) {
        std::string productId = p == 0             ? descriptor.MainUpgradeCode
                                : p == 1           ? descriptor.UpdaterCode
                                : random.OneIn(30) ? Absurd(random)
                                                   : Guid(random.Below(pool));
        std::string mnemonic = random.OneIn(3) ? random.Pick(kPrerequisiteNames) : "P" + std::to_string(p);
        std::string product = "<product id=\"" + productId + "\"" +
                              (random.OneIn(20) ? "" : " mne=\"" + Field(random, mnemonic) + "\"") + ">";
        // A ladder: a long unbroken chain where every update also names the
        // one two steps back, so the paths to the first double every two
        // steps.
        bool ladder = random.OneIn(100);
        size_t updates = ladder ? 40 + random.Below(40) : random.OneIn(30) ? 20 + random.Below(60) : random.Below(4);
        int major = 1;
        int minor = 0;
        for (size_t u = 0; u < updates; ++u) {
            if (ladder) {
                product += LadderUpdate(p, u);
                continue;
            }
            std::string id = random.OneIn(8) && !updateIds.empty() ? random.Pick(updateIds)
                                                                   : "U" + std::to_string(p) + "_" + std::to_string(u);
            updateIds.push_back(id);
            int fromMinor = minor - static_cast<int>(random.Below(2));
            minor += 1 + static_cast<int>(random.Below(2));
            std::string format = random.Pick(std::vector<std::string>{"MSP", "MSP", "MSI", "FMC", "UPD", "EXE"});
            std::string fileName = id + (format == "EXE" ? ".exe" : ".msp");
            std::string update =
                "<update" + (random.OneIn(30) ? std::string() : " id=\"" + Field(random, id) + "\"") + ">";
            update += Element(random, "version", Version(random, major, minor));
            update += Element(random, "targetversionmin", Version(random, major, std::max(0, fromMinor - 1)));
            update += Element(random, "targetversionmax", Version(random, major, std::max(0, fromMinor)));
            update += Element(random, "filename", random.OneIn(12) ? Absurd(random) : fileName);
            update += Element(random, "format", Field(random, format));
            update += Element(random, "filecrc", Field(random, "1a2b3c4d"));
            update += Element(random, "filesize", Field(random, std::to_string(random.Below(100000))));
            update += Element(random, "parameters", Field(random, "A=1"));
            update += Element(random, "subject", Field(random, "Fix"), " lang=\"E\"");
            update += Element(random, "releasedate", Field(random, "2012-05-01"));
            update += "<relnote>" + Element(random, "text", Field(random, "Note"), " lang=\"E\"") + "</relnote>";
            size_t dependents = random.OneIn(3) ? 1 + random.Below(4) : 0;
            for (size_t d = 0; d < dependents; ++d) {
                // The update two steps back makes a ladder of shared
                // prerequisites whose paths grow exponentially.
                std::string target = random.OneIn(3) && u >= 2 ? "U" + std::to_string(p) + "_" + std::to_string(u - 2)
                                     : random.OneIn(3)         ? descriptor.MainUpgradeCode
                                     : random.OneIn(2)         ? Guid(random.Below(pool))
                                     : !updateIds.empty()      ? random.Pick(updateIds)
                                                               : Absurd(random);
                update += Element(random, "dependent", random.OneIn(20) ? Absurd(random) : target);
            }
            if (random.OneIn(60))
                update += Nested(random, "<dependent>" + descriptor.MainUpgradeCode + "</dependent>");
            product += update + "</update>";
            if (random.OneIn(6))
                ++major, minor = 0;
        }
        body += product + "</product>";
    }
    size_t sources = random.Below(4);
    for (size_t s = 0; s < sources; ++s)
        body += Element(random, "source", Field(random, "http://127.0.0.1/u"),
                        " priority=\"" + Field(random, std::to_string(random.Below(5))) + "\"");
    if (random.OneIn(60))
        body += Nested(random, std::string());
    std::string appName = random.OneIn(30) ? Absurd(random) : descriptor.AppName;
    return "<?xml version=\"1.0\"?><updates appname=\"" + appName + "\" servername=\"" + Field(random, "bench") +
           "\">" + body + "</updates>";
}

std::string CommandLineText(FuzzRandom& random)
{
    static const std::vector<std::string> kOptions = {"?",
                                                      "a",
                                                      "a:",
                                                      "a:\"C:\\Admin point\"",
                                                      "a:\"\"",
                                                      "a:..\\..\\x",
                                                      "l:1033",
                                                      "l:3084",
                                                      "l:",
                                                      "l:1034",
                                                      "log",
                                                      "log:",
                                                      "log:\"C:\\x y.txt\"",
                                                      "log:\"",
                                                      "LOG",
                                                      "auto",
                                                      "silent",
                                                      "mingui",
                                                      "loga",
                                                      "only:{A},{B}",
                                                      "only:",
                                                      "only:,,,",
                                                      "pid:12",
                                                      "hwnd:34",
                                                      "pid",
                                                      ":",
                                                      "::",
                                                      "a::b"};
    std::string line;
    size_t tokens = random.Below(8);
    for (size_t i = 0; i < tokens; ++i) {
        line += random.Pick(std::vector<std::string>{" ", " /", "/", "\t", "\n", "  \"", " \""});
        line += random.OneIn(8) ? Absurd(random) : random.Pick(kOptions);
    }
    if (random.OneIn(4))
        DamageBytes(random, line);
    return line;
}

std::string IniValue(FuzzRandom& random, const std::string& usual)
{
    return random.OneIn(8) ? Absurd(random) : usual;
}

std::string PrerequisiteList(FuzzRandom& random)
{
    std::string list;
    size_t count = random.Below(4);
    for (size_t i = 0; i < count; ++i)
        list += (i == 0 ? "" : random.OneIn(10) ? ",," : ",") + random.Pick(kPrerequisiteNames);
    return list;
}

std::string SetupIniText(FuzzRandom& random)
{
    std::string text = "[Startup]\r\nCmdLine=" + (random.OneIn(3) ? CommandLineText(random) : std::string()) +
                       "\r\n[Properties]\r\nBASEURL=" + IniValue(random, "http://127.0.0.1/") +
                       "\r\nMINIMUM_MSI=" + IniValue(random, "200") + "\r\nMINIMUM_IE=" + IniValue(random, "IE6") +
                       "\r\nINSTMSIA=" + IniValue(random, ".\\InstMsiA.exe") + "\r\n";
    size_t packages = random.OneIn(200) ? 100 + random.Below(900) : random.Below(5);
    for (size_t n = 1; n <= packages; ++n) {
        size_t number = random.OneIn(30) ? random.Below(40000) : n;
        text += "[Package" + std::to_string(number) + "]\r\n";
        text += random.OneIn(4) ? "Patch=" + IniValue(random, "p.msp") : "Database=" + IniValue(random, "a.msi");
        text += "\r\nOperation=" + IniValue(random, "INSTALL") + "\r\n1033=" + IniValue(random, "en.mst") +
                "\r\nName=" + IniValue(random, "Main") + "\r\nProperties=" + IniValue(random, "A=1") +
                "\r\nPrerequisites=" + PrerequisiteList(random) + "\r\n";
    }
    // Prerequisite sections naming each other, in cycles too.
    size_t sections = random.Below(6);
    for (size_t i = 0; i < sections; ++i) {
        text += "[" + random.Pick(kPrerequisiteNames) + "]\r\nExecFile=" + IniValue(random, "x.exe") +
                "\r\nExecParams=" + IniValue(random, "/q") + "\r\nProductSupportURL=" + IniValue(random, "http://x/") +
                "\r\nPrerequisites=" + PrerequisiteList(random) + "\r\n";
    }
    if (random.OneIn(4))
        DamageBytes(random, text);
    return text;
}

} // namespace

std::string MakeFuzzCatalog(uint64_t seed, uint64_t index)
{
    FuzzRandom random = FuzzRandom::ForInput(seed, kFuzzCatalog, index);
    std::string text = CatalogText(random);
    if (random.OneIn(4))
        DamageBytes(random, text);
    return text;
}

std::string MakeFuzzSetupIni(uint64_t seed, uint64_t index)
{
    FuzzRandom random = FuzzRandom::ForInput(seed, kFuzzSetupIni, index);
    return SetupIniText(random);
}

std::string MakeFuzzCommandLine(uint64_t seed, uint64_t index)
{
    FuzzRandom random = FuzzRandom::ForInput(seed, kFuzzCommandLine, index);
    return CommandLineText(random);
}

std::string MakeFuzzInput(FuzzKind kind, uint64_t seed, uint64_t index)
{
    switch (kind) {
    case kFuzzCatalog:
        return MakeFuzzCatalog(seed, index);
    case kFuzzSetupIni:
        return MakeFuzzSetupIni(seed, index);
    case kFuzzCommandLine:
        break;
    }
    return MakeFuzzCommandLine(seed, index);
}

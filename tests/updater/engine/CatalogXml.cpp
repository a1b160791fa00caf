#include "CatalogXml.h"

std::string UpdateXml(const std::string& id, const std::string& version, const std::string& minimum,
                      const std::string& maximum, const std::string& format, unsigned size, const std::string& inner)
{
    return "<update id=\"" + id + "\"><version>" + version + "</version><targetversionmin>" + minimum +
           "</targetversionmin><targetversionmax>" + maximum + "</targetversionmax><filename>" + id +
           ".bin</filename><format>" + format + "</format><filesize>" + std::to_string(size) + "</filesize>" + inner +
           "</update>";
}

std::string ProductXml(const std::string& id, const std::string& mnemonic, const std::string& updates)
{
    return "<product id=\"" + id + "\" mne=\"" + mnemonic + "\">" + updates + "</product>";
}

std::string CatalogXml(const std::string& body, const std::string& appName)
{
    return "<?xml version=\"1.0\"?><updates appname=\"" + appName + "\" servername=\"bench\">" + body + "</updates>";
}

std::string DependentXml(const std::string& id)
{
    return "<dependent>" + id + "</dependent>";
}

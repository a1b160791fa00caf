#include "CatalogTrust.h"

#include "CatalogFreshness.h"
#include "CatalogKeys.h"

CatalogTrust ReadCatalogTrust()
{
    CatalogTrust trust;
    trust.keys = GetCatalogKeys();
    trust.acceptedSerial = ReadAcceptedSerial();
    trust.today = TodayUtc();
    return trust;
}

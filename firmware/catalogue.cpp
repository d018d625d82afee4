#include "firmware/catalogue.h"

const std::array<CatalogueEntry, kFirmwareSetSize> kFirmwareCatalogue = {{
    {"Firmware0", "KQ1769_m.dat"},  {"Firmware1", "KQ_rus.rub"},    {"Firmware2", "KQ_kaz.kzt"},
    {"Firmware3", "KQ_rus.kzt"},    {"Firmware4", "KQ_eng.eur"},    {"Firmware5", "KQ_lva.eur"},
    {"Firmware6", "KQ_fre.tnd"},    {"Firmware7", "KQ_tkm.tmt"},    {"Firmware8", "KQ_blg.bgn"},
    {"Firmware9", "KQ_arm.amd"},    {"Firmware10", "KQ_geo.gel"},   {"Firmware11", "KQ_rus.kgs"},
    {"Firmware12", "KQ_kot.fcf"},   {"Firmware13", "KQ_rus.uzs"},   {"Languages", "KQ1769.lng"},
    {"Firmware0s", "KQSAME_m.dat"}, {"Firmware1s", "KQS_rus.rub"},  {"Firmware2s", "KQS_kaz.kzt"},
    {"Firmware3s", "KQS_rus.kzt"},  {"Firmware4s", "KQS_eng.eur"},  {"Firmware5s", "KQS_lva.eur"},
    {"Firmware6s", "KQS_fre.tnd"},  {"Firmware7s", "KQS_tkm.tmt"},  {"Firmware8s", "KQS_blg.bgn"},
    {"Firmware9s", "KQS_arm.amd"},  {"Firmware10s", "KQS_geo.gel"}, {"Firmware11s", "KQS_rus.kgs"},
    {"Firmware12s", "KQS_kot.fcf"}, {"Firmware13s", "KQS_rus.uzs"}, {"Languagess", "KQSAME.lng"},
}};

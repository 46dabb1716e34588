#include "prices/unitPriceHandOver.h"

TrecPrices recPrices;

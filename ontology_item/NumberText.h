// The texts that numeric attribute values take on an ontology item.
#ifndef QAX_ONTOLOGY_ITEM_NUMBERTEXT_H_
#define QAX_ONTOLOGY_ITEM_NUMBERTEXT_H_

#include <string>

#include "module/Export.h"

// "1" when `value` is greater than 0.0, otherwise "0" (0.0, negative values
// and NaN give "0").
QAXOI_TESTED_API const char* BooleanText(float value);

// `value` truncated toward zero to a 32-bit signed integer, in decimal with a
// leading minus sign for negative values. Values beyond the 32-bit range
// saturate at its ends; NaN gives "0".
QAXOI_TESTED_API std::string IntegerText(float value);

// `value` exactly as a default-constructed std::ostringstream writes a float:
// general notation with 6 significant digits and trailing zeros dropped
// ("0.5", "3", "1.23457e+06", "-0", "inf", "nan"), without the cost of a
// stream.
QAXOI_TESTED_API std::string RealText(float value);

#endif  // QAX_ONTOLOGY_ITEM_NUMBERTEXT_H_

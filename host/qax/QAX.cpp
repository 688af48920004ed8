#include "host/qax/QAX.h"

#include "app/unitDispatch.h"

#include "model/StateString.h"

#include "figkit/FOShapeState.h"

namespace StateString
{
BOOL SelectTrueFalseState(CFODrawShape* pShape, BOOL bOn)
{
    return FOSelectTrueFalseState(pShape, bOn);
}
} // namespace StateString

#include "intra/ParamToOpt.h"

void CParamToOptArray::init() { param.clear(); }

void CParamToOptArray::newParam(char typeTerm, char typeParam, int imultiplicity, int ip,
                                Real value) {
  param.push_back(CParamToOpt{typeTerm, typeParam, imultiplicity, ip, value});
}

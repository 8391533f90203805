#ifndef PLYSTRAND_FILEFORMATS_CESACOMPRESTROW_H
#define PLYSTRAND_FILEFORMATS_CESACOMPRESTROW_H

#include "layuplib/CKpStr.h"

// CESACompResTRow: one row of an ESAComp results table: element id, value,
// failure mode and critical layer; zero and empty at construction.
class CESACompResTRow {
  public:
    int GetElementId() const { return m_elementId; }
    void SetElementId(int id) { m_elementId = id; }
    double GetValue() const { return m_value; }
    void SetValue(double value) { m_value = value; }
    const char* GetFailureMode() const { return m_failureMode; }
    void SetFailureMode(const char* text) { m_failureMode = text; }
    const char* GetCriticalLayer() const { return m_criticalLayer; }
    void SetCriticalLayer(const char* text) { m_criticalLayer = text; }

  private:
    int m_elementId = 0;
    double m_value = 0.0;
    CKpStr m_failureMode;
    CKpStr m_criticalLayer;
};

#endif

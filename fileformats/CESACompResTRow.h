#ifndef PLYSTRAND_FILEFORMATS_CESACOMPRESTROW_H
#define PLYSTRAND_FILEFORMATS_CESACOMPRESTROW_H

#include <string>

// CESACompResTRow: one row of an ESAComp results table: element id, value,
// failure mode and critical layer; zero and empty at construction.
class CESACompResTRow {
  public:
    int GetElementId() const { return m_elementId; }
    void SetElementId(int id) { m_elementId = id; }
    double GetValue() const { return m_value; }
    void SetValue(double value) { m_value = value; }
    // Null sets "".
    const char* GetFailureMode() const { return m_failureMode.c_str(); }
    void SetFailureMode(const char* text) { m_failureMode = text ? text : ""; }
    const char* GetCriticalLayer() const { return m_criticalLayer.c_str(); }
    void SetCriticalLayer(const char* text) { m_criticalLayer = text ? text : ""; }

  private:
    int m_elementId = 0;
    double m_value = 0.0;
    // Short texts (the usual ones) need no heap memory: a file of many rows
    // is held and freed without two allocations per row.
    std::string m_failureMode;
    std::string m_criticalLayer;
};

#endif

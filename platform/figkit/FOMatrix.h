// An affine transform from a shape's own coordinates to the canvas (rotation about a centre, moves).
#pragma once

#include "figkit/FOGeometry.h"

class CArchive;

class CFOMatrix
{
public:
    CFOMatrix() = default;
    CFOMatrix(double m11, double m12, double m21, double m22, double dx, double dy)
        : m_11(m11), m_12(m12), m_21(m21), m_22(m22), m_dx(dx), m_dy(dy)
    {
    }

    // Turns by `angle` degrees about (cx, cy), clockwise on the screen (y grows downward).
    static CFOMatrix Rotation(double angle, double cx, double cy);

    BOOL IsIdentity() const;
    // Own coordinates to canvas coordinates.
    void ChangeValue(double& x, double& y) const;
    FOPPoint ChangeValue(const POINT& pt) const;
    // Canvas coordinates back to own coordinates; a singular matrix leaves the point as it is.
    void ChangeValueBack(double& x, double& y) const;
    FOPPoint ChangeValueBack(const POINT& pt) const;

    CFOMatrix Inverted() const;
    // First this transform, then `next`.
    CFOMatrix Then(const CFOMatrix& next) const;
    void Translate(double dx, double dy)
    {
        m_dx += dx;
        m_dy += dy;
    }

    // Six doubles: m11, m12, m21, m22, dx, dy.
    void Serialize(CArchive& ar);

    friend bool operator==(const CFOMatrix& a, const CFOMatrix& b)
    {
        return a.m_11 == b.m_11 && a.m_12 == b.m_12 && a.m_21 == b.m_21 && a.m_22 == b.m_22 &&
               a.m_dx == b.m_dx && a.m_dy == b.m_dy;
    }

    // x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy
    double m_11 = 1.0;
    double m_12 = 0.0;
    double m_21 = 0.0;
    double m_22 = 1.0;
    double m_dx = 0.0;
    double m_dy = 0.0;
};

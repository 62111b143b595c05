#include "MenuTracker.h"

void CMenuTracker::Opened(int button)
{
    m_nCurrent = button;
    m_bOpen = true;
    m_bSwitching = false;
    m_nSelected = -1;
}

bool CMenuTracker::Closed()
{
    m_bOpen = false;
    return !m_bSwitching;
}

bool CMenuTracker::Selected(int command)
{
    if (command == m_nSelected)
        return false;
    m_nSelected = command;
    return true;
}

int CMenuTracker::MouseMoved(Point p, int hit)
{
    if (!m_bOpen || p == m_ptLastMouse)
        return -1;
    m_ptLastMouse = p;
    if (hit < 0 || hit == m_nCurrent)
        return -1;
    m_bSwitching = true;
    return hit;
}

void CMenuTracker::SwitchKeyPressed()
{
    if (m_bOpen)
        m_bSwitching = true;
}

int CMenuTracker::SystemKeyPressed(int buttons)
{
    if (!m_bOpen || buttons <= 0)
        return -1;
    m_bSwitching = true;
    return m_nCurrent > 0 ? m_nCurrent - 1 : buttons - 1;
}

void CMenuTracker::Pressed(int hit)
{
    if (m_bOpen && hit >= 0)
        m_bSwitching = true;
}

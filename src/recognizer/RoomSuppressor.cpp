#include "RoomSuppressor.h"

#include <algorithm>

RoomSuppressor::RoomSuppressor(NoiseSuppressor::Level quietLevel, NoiseSuppressor::Level noisyLevel,
                               double noisyRoomDb)
    : m_quiet(quietLevel), m_noisy(noisyLevel), m_noisyRoomDb(noisyRoomDb),
      m_noisyRoom(noisyRoomDb <= 0)
{}

void RoomSuppressor::process(const qint16 *input, qint16 *output, bool judgeRoom)
{
    if (m_noisyRoomDb > 0) {
        m_room.addFrame(input);
        if (judgeRoom)
            m_noisyRoom = m_room.floorDb() > m_noisyRoomDb;
    }
    std::copy(input, input + FrameSamples, m_quietFrame);
    m_quiet.process(m_quietFrame);
    std::copy(input, input + FrameSamples, output);
    m_noisy.process(output);
    if (!m_noisyRoom)
        std::copy(m_quietFrame, m_quietFrame + FrameSamples, output);
}

void RoomSuppressor::reset()
{
    m_quiet.reset();
    m_noisy.reset();
    m_room.reset();
    m_noisyRoom = m_noisyRoomDb <= 0;
}

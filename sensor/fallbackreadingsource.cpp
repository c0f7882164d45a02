// SPDX-License-Identifier: MIT
#include "fallbackreadingsource.h"

#include <utility>

namespace veltaro {

FallbackReadingSource::FallbackReadingSource(std::vector<Way> ways)
    : m_ways(std::move(ways))
{
}

bool FallbackReadingSource::start()
{
    if (m_started)
        return true;
    for (const Way& way : m_ways) {
        std::unique_ptr<ReadingSource> source = way ? way() : nullptr;
        if (source && source->start()) {
            m_started = std::move(source);
            m_ways.clear();
            return true;
        }
    }
    return false;
}

bool FallbackReadingSource::readsUnlistedProcessor() const
{
    return m_started && m_started->readsUnlistedProcessor();
}

std::optional<std::uint32_t> FallbackReadingSource::signatureRegister()
{
    return m_started ? m_started->signatureRegister() : std::nullopt;
}

std::optional<SourceReading> FallbackReadingSource::read(const ProcessorFamily& row)
{
    return m_started ? m_started->read(row) : std::nullopt;
}

unsigned FallbackReadingSource::nodeCount(const ProcessorFamily& row)
{
    return m_started ? m_started->nodeCount(row) : 1;
}

void FallbackReadingSource::recountNodes()
{
    if (m_started)
        m_started->recountNodes();
}

std::optional<SourceReading> FallbackReadingSource::readNode(const ProcessorFamily& row, unsigned node)
{
    return m_started ? m_started->readNode(row, node) : std::nullopt;
}

std::optional<SourceReading> FallbackReadingSource::readDie(unsigned node, const DieSensor& die)
{
    return m_started ? m_started->readDie(node, die) : std::nullopt;
}

}  // namespace veltaro

// SPDX-License-Identifier: MIT
#include "cpuinfofixture.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace veltaro::bench {

namespace {

constexpr char kFlags[] =
    "fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush mmx fxsr sse sse2 ht "
    "syscall nx mmxext fxsr_opt pdpe1gb rdtscp lm constant_tsc rep_good nopl nonstop_tsc cpuid extd_apicid "
    "aperfmperf rapl pni pclmulqdq monitor ssse3 fma cx16 sse4_1 sse4_2 movbe popcnt aes xsave avx f16c rdrand "
    "lahf_lm cmp_legacy svm extapic cr8_legacy abm sse4a misalignsse 3dnowprefetch osvw ibs skinit wdt tce "
    "topoext perfctr_core perfctr_nb bpext perfctr_llc mwaitx cpb cat_l3 cdp_l3 hw_pstate ssbd mba ibrs ibpb "
    "stibp vmmcall fsgsbase bmi1 avx2 smep bmi2 cqm rdt_a rdseed adx smap clflushopt clwb sha_ni xsaveopt "
    "xsavec xgetbv1 xsaves cqm_llc cqm_occup_llc cqm_mbm_total cqm_mbm_local clzero irperf xsaveerptr rdpru "
    "wbnoinvd amd_ppin arat npt lbrv svm_lock nrip_save tsc_scale vmcb_clean flushbyasid decodeassists "
    "pausefilter pfthreshold avic v_vmsave_vmload vgif v_spec_ctrl umip rdpid overflow_recov succor smca sme sev "
    "sev_es";

}  // namespace

std::string serverCpuInfo(int logicalProcessors)
{
    const int cores = logicalProcessors / 2;
    std::string text;
    for (int number = 0; number < logicalProcessors; ++number) {
        const std::string n = std::to_string(number);
        const std::string core = std::to_string(number % cores);
        text += "processor\t: " + n + "\n";
        text += "vendor_id\t: AuthenticAMD\n";
        text += "cpu family\t: 23\n";
        text += "model\t\t: 49\n";
        text += "model name\t: AMD EPYC 7502P 32-Core Processor\n";
        text += "stepping\t: 0\n";
        text += "microcode\t: 0x830104d\n";
        text += "cpu MHz\t\t: " + std::to_string(1500 + 37 * (number % 29)) + ".000\n";
        text += "cache size\t: 512 KB\n";
        text += "physical id\t: 0\n";
        text += "siblings\t: " + std::to_string(logicalProcessors) + "\n";
        text += "core id\t\t: " + core + "\n";
        text += "cpu cores\t: " + std::to_string(cores) + "\n";
        text += "apicid\t\t: " + n + "\n";
        text += "initial apicid\t: " + n + "\n";
        text += "fpu\t\t: yes\n";
        text += "fpu_exception\t: yes\n";
        text += "cpuid level\t: 16\n";
        text += "wp\t\t: yes\n";
        text += std::string("flags\t\t: ") + kFlags + "\n";
        text += "bugs\t\t: sysret_ss_attrs spectre_v1 spectre_v2 spec_store_bypass retbleed smt_rsb srso\n";
        text += "bogomips\t: 4990.55\n";
        text += "TLB size\t: 3072 4K pages\n";
        text += "clflush size\t: 64\n";
        text += "cache_alignment\t: 64\n";
        text += "address sizes\t: 43 bits physical, 48 bits virtual\n";
        text += "power management: ts ttp tm hwpstate cpb eff_freq_ro [13] [14]\n\n";
    }
    return text;
}

CpuInfoFile::CpuInfoFile(const std::string& text)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "veltaro-cpuinfo-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw std::runtime_error("cannot make a cpuinfo file");
    ::close(fd);
    m_path = pattern;
    std::ofstream(m_path, std::ios::binary) << text;
}

CpuInfoFile::~CpuInfoFile()
{
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

}  // namespace veltaro::bench

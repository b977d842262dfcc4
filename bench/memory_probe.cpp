// Touches the number of MiB given and ends: a child of known size for the memory measure.
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char *argv[])
{
    const size_t mebibytes = argc == 2 ? std::strtoul(argv[1], nullptr, 10) : 0;
    std::vector<char> touched(mebibytes << 20);
    std::memset(touched.data(), 1, touched.size());
    return touched.empty() || touched.back() == 1 ? 0 : 1;
}

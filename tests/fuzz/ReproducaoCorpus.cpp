// Without libFuzzer (GCC builds) each target is a plain program that runs its
// entry point over every file of the corpus folders and files it is given: the
// corpus becomes a regression test of the normal build.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "Exigencia.h"

namespace fs = std::filesystem;

namespace {

int Executar(const fs::path& arquivo) {
  std::ifstream entrada(arquivo, std::ios::binary);
  if (!entrada) {
    std::fprintf(stderr, "não foi possível ler %s\n", arquivo.c_str());
    return 1;
  }
  // A buffer of exactly the input's size, as libFuzzer gives it, so that a
  // read past the end is caught by the sanitizers.
  const std::vector<unsigned char> dados((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(dados.data(), dados.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: %s <pasta ou arquivo do corpus>...\n", argv[0]);
    return 2;
  }
  int falhas = 0;
  int executados = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path caminho(argv[i]);
    std::error_code erro;
    if (fs::is_directory(caminho, erro)) {
      std::vector<fs::path> arquivos;
      for (const auto& item : fs::directory_iterator(caminho))
        if (item.is_regular_file()) arquivos.push_back(item.path());
      std::sort(arquivos.begin(), arquivos.end());
      for (const auto& arquivo : arquivos) {
        falhas += Executar(arquivo);
        ++executados;
      }
    } else {
      falhas += Executar(caminho);
      ++executados;
    }
  }
  // An empty corpus proves nothing: that is a broken test, not a pass.
  if (executados == 0) {
    std::fprintf(stderr, "nenhuma entrada encontrada\n");
    return 1;
  }
  std::printf("%d entradas executadas\n", executados);
  return falhas == 0 ? 0 : 1;
}

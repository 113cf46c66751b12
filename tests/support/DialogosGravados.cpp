#include "DialogosGravados.h"

DialogosGravados& DialogosGravados::Instancia() {
  static DialogosGravados instancia;
  return instancia;
}

Dialogos::Resposta DialogosGravados::Mostrar(const QString& titulo, const QString& texto, Icone icone,
                                             Botoes botoes) {
  FCaixas.append({titulo, texto, icone, botoes});
  ++FAbertas;
  FMaximoAbertas = std::max(FMaximoAbertas, FAbertas);
  if (FAoMostrar) {
    auto acao = std::move(FAoMostrar);
    FAoMostrar = nullptr;
    acao();
  }
  --FAbertas;
  return botoes == Botoes::Ok ? Resposta::Ok : FResposta;
}

std::optional<QString> DialogosGravados::EscolherArquivo(const QString& filtro) {
  FFiltros << filtro;
  if (FArquivos.isEmpty()) return std::nullopt;
  return FArquivos.takeFirst();
}

void DialogosGravados::CopiarTexto(const QString& texto) { FAreaDeTransferencia = texto; }

void DialogosGravados::Limpar() {
  FCaixas.clear();
  FArquivos.clear();
  FFiltros.clear();
  FAreaDeTransferencia.reset();
  FResposta = Resposta::Sim;
  FAoMostrar = nullptr;
  FAbertas = 0;
  FMaximoAbertas = 0;
}

QStringList DialogosGravados::Textos() const {
  QStringList textos;
  for (const Caixa& c : FCaixas) textos << c.Texto;
  return textos;
}

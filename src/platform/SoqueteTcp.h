#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// The few calls on a connected TCP socket that the monitoring service's
// transport makes, so that the poll/recv/send of the platform stay here.
// The socket is the platform's handle as an integer (int off Windows).
//
// Threads: any thread, each socket on one thread at a time.
namespace SoqueteTcp {

// Waits at most this long; true when the socket can be read (data, end of
// stream or an error to collect).
bool AguardarLeitura(long long soquete, std::chrono::milliseconds espera);
bool AguardarEscrita(long long soquete, std::chrono::milliseconds espera);

// What recv and send give: bytes moved, 0 at the end of the stream, -1 on an
// error. Never blocks past the data at hand; never raises SIGPIPE.
long long Receber(long long soquete, char* destino, std::size_t tamanho);
long long Enviar(long long soquete, const char* origem, std::size_t tamanho);

// Ends the sending side, lets what the peer still sends drain for a moment
// (so that a close with unread bytes does not reset the answer just sent),
// then closes.
void Encerrar(long long soquete);

// For a listening socket, before bind: a restart may take the port again
// at once (SO_REUSEADDR), but a second process may not share it
// (no SO_REUSEPORT, which would split the connections between the two).
void OpcoesEscuta(long long soquete);

// Numeric address and port of either end; empty and 0 when unknown.
void EnderecoRemoto(long long soquete, std::string& endereco, int& porta);
void EnderecoLocal(long long soquete, std::string& endereco, int& porta);

}  // namespace SoqueteTcp
